#include "EditFormFixture.h"

#include "editor/AllChannelsDialog.h"

#include "render/StripFit.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The stores "全チャンネル作成" may change.
struct Title8
{
    std::array<CharPattern, Title::CodeCount> dots;
    DispPages pages;
    std::array<QString, Title::Blocks> texts;
    explicit Title8(const TitleData &d) : dots(d.DotData), pages(d.DispData), texts(d.ChText) {}
    bool operator==(const Title8 &) const = default;
};

} // namespace

class EditFormAllChannelsTest : public EditFormFixture
{
protected:
    AllChannelsDialog &openDialog()
    {
        ui().allChannelsAction->trigger();
        AllChannelsDialog *dialog = form->allChannelsDialog();
        EXPECT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        return *dialog;
    }
};

TEST_F(EditFormAllChannelsTest, MakesEveryTypedChannelAsOneUndoStepAndStaysOnTheChannel)
{
    selectChannel(1);
    ui().Text1->setText(QStringLiteral("kept"));
    form->makeData();
    selectChannel(0);
    form->document().undoStack().clear();
    const Title8 before(*data);

    AllChannelsDialog &dialog = openDialog();
    EXPECT_EQ(dialog.texts[1]->text(), QStringLiteral("kept")) << "filled from the block texts";
    EXPECT_EQ(dialog.texts[0]->text(), QString());
    EXPECT_EQ(dialog.edgingCheck->isChecked(), ui().edgingCheck->isChecked());
    dialog.texts[0]->setText(QStringLiteral("正面玄関"));
    dialog.texts[1]->clear(); // an empty text keeps the channel
    dialog.texts[6]->setText(QStringLiteral("CAM 7"));
    dialog.okButton->click();

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_EQ(form->document().undoStack().count(), 1);
    EXPECT_EQ(data->ChText[0], QStringLiteral("正面玄関"));
    EXPECT_EQ(data->ChText[1], QStringLiteral("kept"));
    EXPECT_EQ(data->ChText[6], QStringLiteral("CAM 7"));
    EXPECT_EQ(data->DispData(0, 0, 6), 151) << "placed from the selected cell";
    EXPECT_EQ(data->ChNo, 0);
    EXPECT_EQ(ui().channelList->currentIndex(), 0);
    EXPECT_EQ(ui().Text1->text(), QStringLiteral("正面玄関"));
    EXPECT_TRUE(cellShows(0, 1));

    ui().undoAction->trigger();
    EXPECT_EQ(Title8(*data), before) << "one step takes back all channels";
    EXPECT_EQ(data->ChNo, 0) << "undo does not walk through the channels";
    EXPECT_EQ(ui().Text1->text(), QString());
    EXPECT_TRUE(cellShows(0, 0));
}

TEST_F(EditFormAllChannelsTest, ARefusedTextIsNamedWithItsChannelAndChangesNothing)
{
    const Title8 before(*data);
    AllChannelsDialog &dialog = openDialog();
    dialog.texts[0]->setText(QStringLiteral("fine"));
    dialog.texts[5]->setText(QStringLiteral("A,\"B\""));
    dialog.okButton->click();

    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("全チャンネル作成"));
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("CH6"))) << boxes.shown[0].text.toStdString();
    // The button to press again is this dialog's own.
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("もう一度「全チャンネル作成」の「OK」を押して")))
        << boxes.shown[0].text.toStdString();
    EXPECT_FALSE(boxes.shown[0].text.contains(QStringLiteral("「データ作成」"))) << boxes.shown[0].text.toStdString();
    EXPECT_EQ(Title8(*data), before);
    EXPECT_EQ(form->document().undoStack().count(), 0);
    EXPECT_TRUE(dialog.isVisible()) << "open on the text to mend";
    EXPECT_EQ(dialog.texts[0]->text(), QStringLiteral("fine"));
}

TEST_F(EditFormAllChannelsTest, TheChosenFontAndEdgingMakeTheChannelsAndBecomeTheEditorsChoice)
{
    AllChannelsDialog &dialog = openDialog();
    QFont bold = ui().Text1->font();
    bold.setBold(true);
    fontDialogs.answer = bold;
    dialog.fontButton->click();
    dialog.edgingCheck->setChecked(false);
    dialog.texts[2]->setText(QStringLiteral("ABC"));
    dialog.okButton->click();

    EXPECT_TRUE(ui().Text1->font().bold());
    EXPECT_FALSE(ui().edgingCheck->isChecked());
    const TitleData made = *data;
    // "データ作成" on channel 3 with the editor's choice now makes the same.
    form->document().undoStack().undo();
    selectChannel(2);
    ui().Text1->setText(QStringLiteral("ABC"));
    form->makeData();
    EXPECT_EQ(data->DotData, made.DotData);
    EXPECT_EQ(data->DispData, made.DispData);
}

// Each text has the counter and the cut mark of the main text box, measured
// in the font the channels will be made with; after OK one box names each
// channel that was cut and where, as "データ作成" does for one.
TEST_F(EditFormAllChannelsTest, EachTextShowsItsCutAndOkSaysWhichChannelsWereCut)
{
    const QString tooLong = QStringLiteral("Parking Lot North Gate Entrance East Side Camera");
    const QString wide = QString(40, u'あ');
    AllChannelsDialog &dialog = openDialog();
    dialog.texts[2]->setText(tooLong);
    ui().Text1->setText(tooLong);
    EXPECT_EQ(dialog.counters[2]->text(), ui().fitLabel->text());
    EXPECT_EQ(dialog.counters[2]->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(dialog.texts[2]->cutAt(), ui().Text1->cutAt());
    EXPECT_EQ(dialog.texts[2]->cutWithin(), ui().Text1->cutWithin());
    EXPECT_EQ(dialog.counters[0]->text(), QStringLiteral("0/25"));
    QFont small = ui().Text1->font();
    small.setPointSizeF(small.pointSizeF() / 2);
    fontDialogs.answer = small;
    dialog.fontButton->click();
    EXPECT_EQ(dialog.texts[2]->cutAt(), -1) << "a smaller font fits it";
    fontDialogs.answer = ui().Text1->font();
    dialog.fontButton->click();

    dialog.texts[0]->setText(QStringLiteral("CAM 1"));
    dialog.texts[6]->setText(wide);
    dialog.okButton->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(data->ChText[2], tooLong) << "made all the same";
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("全チャンネル作成"));
    const auto warning = [&](const QString &text) {
        return StripFit::warning(text, StripFit::measure(text, ui().Text1->font()), form->document().selectedCell());
    };
    EXPECT_EQ(boxes.shown[0].text.split(u'\n', Qt::SkipEmptyParts),
              QStringList({QStringLiteral("CH3: ") + warning(tooLong), QStringLiteral("CH7: ") + warning(wide)}));
}
