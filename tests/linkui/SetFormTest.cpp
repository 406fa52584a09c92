#include "LinkUiFixture.h"

#include "linkui/SetForm.h"
#include "support/QtPrinters.h"

#include "linkui/CaptionFrame.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

std::array<bool, 8> flags(std::initializer_list<int> on)
{
    std::array<bool, 8> result{};
    for (int channel : on)
        result[channel] = true;
    return result;
}

} // namespace

class SetFormTest : public LinkUiFixture
{
protected:
    // "書込" in a shown communication window.
    SetForm &openSetForm()
    {
        SerForm &form = openSerForm();
        form.ui().WriteButton->click();
        return *form.setForm();
    }

    // Channels the bulk write selected on the device so far.
    int writesStarted()
    {
        int count = 0;
        for (const QByteArray &frame : port().written)
            count += frame.startsWith("CS") && frame != "CS?\r";
        return count;
    }
};

TEST_F(SetFormTest, OpensWithAllChannelsChosenAndTheBoxesDisabled)
{
    SetForm &dialog = openSetForm();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.parentWidget(), windows->existingSerForm());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("書き込み設定"));
    EXPECT_EQ(dialog.channelChecks[7]->parentWidget(), dialog.Frame1);
    EXPECT_TRUE(dialog.sendOptions[0]->isChecked());
    EXPECT_FALSE(dialog.Frame1->isEnabled());
    for (QCheckBox *box : dialog.channelChecks)
        EXPECT_FALSE(box->isChecked());

    dialog.sendOptions[1]->click();
    EXPECT_TRUE(dialog.Frame1->isEnabled());
    dialog.channelChecks[2]->click();
    dialog.sendOptions[0]->click();
    EXPECT_FALSE(dialog.Frame1->isEnabled());
    EXPECT_TRUE(dialog.channelChecks[2]->isChecked()) << "ticks survive while disabled";
}

// The designed area, and beneath it the notes about the last write, each as
// tall as its text, the one after "変更分のみ選択" with room for three lines
// from the start: nothing touches or clips another, however long they get.
TEST_F(SetFormTest, EveryControlAndNoteFitsWithoutTouchingAnother)
{
    SetForm &dialog = openSetForm();
    const int threeLines = 3 * dialog.changedNote->fontMetrics().lineSpacing();
    // CH1..CH3 as designed; from CH4 on each box moves as far as it must
    // not to touch the one before it.
    expectLayout(&dialog, QSize(380, 180 + threeLines + 8),
                 {{"Frame1", QRect(6, 28, 369, 49)},
                  {"Check1_2", QRect(100, 22, 43, 15)},
                  {"Check1_3", QRect(144, 22, 43, 15)},
                  {"Check1_7", QRect(320, 22, 43, 15)},
                  {"Command1", QRect(32, 84, 155, 25)},
                  {"Command2", QRect(192, 84, 155, 25)},
                  {"resumeNote", QRect(12, 116, 356, 32)},
                  {"changedButton", QRect(12, 152, 180, 25)},
                  {"changedNote", QRect(12, 180, 356, threeLines)}});

    TransferRecord broken;
    broken.asked.fill(true);
    broken.completed.fill(true);
    broken.completed[7] = false;
    broken.outcome = WriteOutcome::TimedOut;
    dialog.offerResume(broken);
    dialog.offerChangedChannels([] { return QList<int>{1, 2, 3, 4, 5, 6, 7, 8}; });
    dialog.changedButton->click();
    const QSize before = dialog.size();
    for (const char *state : {"with both notes at their longest", "after the title changed"}) {
        SCOPED_TRACE(state);
        expectLayout(&dialog, QSize(), {});
        EXPECT_GE(dialog.changedNote->height(), threeLines);
        const QList<QWidget *> boxes(dialog.channelChecks.begin(), dialog.channelChecks.end());
        for (QWidget *box : boxes)
            EXPECT_GE(box->width(), box->sizeHint().width()) << box->objectName().toStdString();
        for (int i = 0; i + 1 < 8; ++i)
            EXPECT_LT(boxes[i]->geometry().right() + 1, boxes[i + 1]->x()) << "CH" << i + 1 << " touches CH" << i + 2;
        const QList<QWidget *> rows{dialog.sendOptions[0], dialog.executeButton, dialog.cancelButton,
                                    dialog.resumeNote, dialog.changedButton, dialog.changedNote};
        for (QWidget *a : rows) {
            for (QWidget *b : rows) {
                if (a != b) {
                    EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                        << a->objectName().toStdString() << " / " << b->objectName().toStdString();
                }
            }
        }
        for (QWidget *w : {static_cast<QWidget *>(dialog.sendOptions[0]), static_cast<QWidget *>(dialog.sendOptions[1]),
                           static_cast<QWidget *>(dialog.changedButton)})
            EXPECT_GE(w->width(), w->sizeHint().width()) << w->objectName().toStdString();
        windows->titleChanged();
    }
    EXPECT_FALSE(dialog.changedNote->text().contains(QStringLiteral("CH"))) << "no channel named after a change";
    EXPECT_LE(dialog.size().height(), before.height()) << "the dialog does not jump about";
}

TEST_F(SetFormTest, ExecuteSetsTheFlagsFromTheChoiceAndStartsTheWrite)
{
    SetForm &dialog = openSetForm();
    dialog.sendOptions[1]->click();
    dialog.executeButton->click();
    EXPECT_EQ(data->KakikomiCh, flags({})) << "no box ticked: nothing chosen";
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(windows->existingSerForm()->setForm(), &dialog) << "only hidden";
    EXPECT_EQ(windows->existingSerForm()->ui().MessageLabel->text(), QStringLiteral("データ送信終了しました。"))
        << "the write ran and visited no channel";

    windows->existingSerForm()->ui().WriteButton->click();
    dialog.channelChecks[2]->click();
    dialog.channelChecks[7]->click();
    dialog.executeButton->click();
    EXPECT_EQ(data->KakikomiCh, flags({2, 7}));
    EXPECT_EQ(port().written.value(0), QByteArray("CS3\r"));
    ASSERT_TRUE(runUntil([&] { return engine().isIdle(); }, 10000));
    EXPECT_EQ(writesStarted(), 2);
    EXPECT_EQ(port().written.size(), 2 * 43);

    // Cancel leaves the flags of the last write.
    windows->existingSerForm()->ui().WriteButton->click();
    dialog.sendOptions[0]->click();
    dialog.cancelButton->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(data->KakikomiCh, flags({2, 7}));

    // All channels, whatever is ticked.
    windows->existingSerForm()->ui().WriteButton->click();
    EXPECT_TRUE(dialog.sendOptions[0]->isChecked());
    dialog.executeButton->click();
    EXPECT_EQ(data->KakikomiCh, flags({0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(SetFormTest, ReturnPressesTheFocusedButtonAndTheFocusShowsFromTheStart)
{
    SetForm &dialog = openSetForm();
    EXPECT_TRUE(dialog.testAttribute(Qt::WA_KeyboardFocusChange));
    int started = 0;
    QObject::connect(&dialog, &SetForm::writeRequested, [&started] { ++started; });
    dialog.executeButton->setFocus();
    QTest::keyClick(dialog.executeButton, Qt::Key_Return);
    EXPECT_EQ(started, 1);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(SetFormTest, TheCloseBoxDestroysItAndTheNextShowingStartsFromTheDefaults)
{
    QPointer<SetForm> dialog = &openSetForm();
    dialog->sendOptions[1]->click();
    dialog->channelChecks[0]->click();
    dialog->close();
    flushDeletes();
    EXPECT_TRUE(dialog.isNull());

    windows->existingSerForm()->ui().WriteButton->click();
    SetForm *fresh = windows->existingSerForm()->setForm();
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(fresh->sendOptions[0]->isChecked());
    EXPECT_FALSE(fresh->channelChecks[0]->isChecked());
    EXPECT_FALSE(fresh->Frame1->isEnabled());
}

TEST_F(SetFormTest, ClosingTheCommunicationWindowTakesTheDialogAlong)
{
    // A hidden communication window runs nothing, so an "実行" left
    // reachable would hide the dialog and silently start no write.
    SetForm &dialog = openSetForm();
    dialog.sendOptions[1]->click();
    dialog.channelChecks[4]->click();
    windows->existingSerForm()->ui().closeButton->click();
    EXPECT_FALSE(dialog.isVisible());

    // Shown again from the window, with the choice it had.
    windows->openCommunication();
    windows->existingSerForm()->ui().WriteButton->click();
    EXPECT_EQ(windows->existingSerForm()->setForm(), &dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.sendOptions[1]->isChecked());
    EXPECT_TRUE(dialog.channelChecks[4]->isChecked());
}
