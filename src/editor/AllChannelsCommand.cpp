#include "AllChannelsCommand.h"

#include "FontChoice.h"

#include "document/TitleDocument.h"
#include "platform/MessageBoxes.h"
#include "render/BlockTextGuard.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

AllChannelsCommand::AllChannelsCommand(TitleDocument &document, FontDialogs &fontDialogs,
                                       MessageBoxes &messageBoxes, QLineEdit &textBox, QCheckBox &edging,
                                       QFont &fontDialogFont, QWidget &window)
    : m_document(document), m_fontDialogs(fontDialogs), m_messageBoxes(messageBoxes), m_textBox(textBox),
      m_edging(edging), m_fontDialogFont(fontDialogFont), m_window(window)
{
}

void AllChannelsCommand::open()
{
    if (!m_dialog) {
        AllChannelsDialog::Choice start;
        for (int ch = 0; ch < Title::Channels; ++ch)
            start.texts[size_t(ch)] = m_document.data().ChText[ch];
        start.font = m_textBox.font();
        start.edging = m_edging.isChecked();
        auto *dialog = new AllChannelsDialog(
            start, m_fontDialogs, [this](const AllChannelsDialog::Choice &choice) { return make(choice); },
            &m_window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        m_dialog = dialog;
    }
    m_dialog->open();
    m_dialog->raise();
    m_dialog->activateWindow();
}

int AllChannelsCommand::make(const AllChannelsDialog::Choice &choice)
{
    const AllChannelsMake::Result result = m_document.makeAllChannels(choice.texts, choice.font, choice.edging);
    if (!result.done()) {
        const QString &text = choice.texts[size_t(result.refusedChannel)];
        m_messageBoxes.warning(m_dialog, m_dialog->windowTitle(),
                               QStringLiteral("CH%1: ").arg(result.refusedChannel + 1)
                                   + BlockTextGuard::message(result.refused, text,
                                                             QStringLiteral("「%1」の「%2」")
                                                                 .arg(m_dialog->windowTitle(), m_dialog->okButton->text())));
        return result.refusedChannel;
    }
    // The channels were made with this font and edging; the next
    // "データ作成" of one of them should make it the same way.
    m_textBox.setFont(choice.font);
    m_edging.setChecked(choice.edging);
    FontChoice::copy(choice.font, m_fontDialogFont);
    // Made all the same, as "データ作成" does; the operator is told once
    // what the device will not show, channel by channel.
    if (const QStringList cut = result.cutLines(); !cut.isEmpty())
        m_messageBoxes.warning(m_dialog, m_dialog->windowTitle(), cut.join(QStringLiteral("\n\n")));
    return -1;
}
