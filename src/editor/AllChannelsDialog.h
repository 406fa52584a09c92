#pragma once

#include "core/TitleData.h"

#include <QDialog>
#include <QFont>

#include <array>
#include <functional>

class CutMarkLineEdit;
class FontDialogs;
class QCheckBox;
class QLabel;
class QPushButton;

// "全チャンネル作成": the eight channels' texts in one dialog, with the font
// and "縁取" they are made with. Each text has the main text box's counter
// and cut mark, measured in the chosen font. OK hands the choice to `make`,
// which answers whether it was made; a refused text keeps the dialog open
// on it.
class AllChannelsDialog : public QDialog
{
    Q_OBJECT
public:
    struct Choice
    {
        std::array<QString, Title::Channels> texts;
        QFont font;
        bool edging = true;
    };
    // Makes the channels; on refusal returns the channel (0..7) at fault,
    // otherwise -1.
    using Make = std::function<int(const Choice &)>;

    AllChannelsDialog(const Choice &start, FontDialogs &fontDialogs, Make make, QWidget *parent);

    Choice choice() const;

    std::array<CutMarkLineEdit *, Title::Channels> texts{};
    std::array<QLabel *, Title::Channels> counters{};
    QPushButton *fontButton = nullptr;
    QLabel *fontLabel = nullptr;
    QCheckBox *edgingCheck = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;

    void accept() override;

private:
    void chooseFont();
    void showFont();
    void showFit(int channel);

    FontDialogs &m_fontDialogs;
    Make m_make;
    QFont m_font;
};
