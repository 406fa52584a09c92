#pragma once

#include "AllChannelsDialog.h"

#include <QPointer>

class FontDialogs;
class MessageBoxes;
class QCheckBox;
class QLineEdit;
class TitleDocument;

// "全チャンネル作成…": the dialog with the eight channels' texts, and making
// them on the document as one step. What it was made with becomes the
// editor's own font and edging choice.
class AllChannelsCommand
{
public:
    AllChannelsCommand(TitleDocument &document, FontDialogs &fontDialogs, MessageBoxes &messageBoxes,
                       QLineEdit &textBox, QCheckBox &edging, QFont &fontDialogFont, QWidget &window);

    void open();
    AllChannelsDialog *dialog() const { return m_dialog; }

private:
    // The channel whose text was refused, -1 when all were made.
    int make(const AllChannelsDialog::Choice &choice);

    TitleDocument &m_document;
    FontDialogs &m_fontDialogs;
    MessageBoxes &m_messageBoxes;
    QLineEdit &m_textBox;
    QCheckBox &m_edging;
    QFont &m_fontDialogFont;
    QWidget &m_window;
    QPointer<AllChannelsDialog> m_dialog;
};
