#include "EditFormFixture.h"

#include "editor/AllChannelsDialog.h"

#include <QAction>
#include <QCheckBox>
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
    EXPECT_TRUE(boxes.shown[0].text.startsWith(QStringLiteral("CH6"))) << boxes.shown[0].text.toStdString();
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
