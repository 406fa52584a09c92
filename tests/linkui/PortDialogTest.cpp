#include "LinkUiFixture.h"

#include "support/QtPrinters.h"

#include <QPushButton>
#include <QRadioButton>

using PortDialogTest = LinkUiFixture;

TEST_F(PortDialogTest, FirstDataComAsksForAPortWithCom1ChosenThenOkOpensTheWindow)
{
    windows->openCommunication();
    QPointer<TestSerForm> dialog = windows->testSerForm();
    ASSERT_FALSE(dialog.isNull());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Comポート設定"));
    // Wider and taller than the eight options alone, for the ports present.
    expectLayout(dialog, QSize(612, 264),
                 {{"Option1_0", QRect(6, 6, 63, 19)},
                  {"Option1_4", QRect(6, 83, 63, 19)},
                  {"Option1_7", QRect(6, 140, 63, 19)},
                  {"Device_7", QRect(71, 140, 163, 19)},
                  {"Command3", QRect(16, 166, 93, 23)},
                  {"PortListPanel", QRect(242, 6, 364, 252)}});
    EXPECT_EQ(dialog->parentWidget(), owner.get());
    EXPECT_TRUE(dialog->portOptions[0]->isChecked());
    EXPECT_EQ(data->ComNo, 1);

    // Setting the port created the communication window, hidden.
    SerForm *form = windows->existingSerForm();
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(port().portNumber, 1);
    EXPECT_EQ(form->parentWidget(), owner.get());

    dialog->okButton->click();
    flushDeletes();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(windows->existingSerForm(), form);
    EXPECT_TRUE(form->isVisible());
    platform.clock.advance(2000);
    EXPECT_EQ(port().written.value(0), QByteArray("CS?\r")) << "the poll runs after OK";
}

TEST_F(PortDialogTest, ChoosingAnotherPortClosesTheOpenOneAtOnce)
{
    openSerForm();
    platform.clock.advance(2000);
    ASSERT_TRUE(port().isOpen()); // a poll is waiting for its reply

    windows->choosePort();
    EXPECT_EQ(data->ComNo, 1);
    EXPECT_FALSE(port().isOpen()) << "opening the dialog counts as choosing Com1";

    platform.clock.advance(1); // the next try of the poll reopens port 1
    ASSERT_TRUE(runUntil([&] { return port().isOpen(); }, 1000));
    windows->testSerForm()->portOptions[2]->click();
    EXPECT_EQ(data->ComNo, 3);
    EXPECT_FALSE(port().isOpen());
    EXPECT_EQ(port().portNumber, 3);
}

TEST_F(PortDialogTest, TheCloseBoxKeepsTheChosenPortButOpensNothing)
{
    windows->choosePort();
    QPointer<TestSerForm> dialog = windows->testSerForm();
    dialog->portOptions[3]->click();
    dialog->close();
    flushDeletes();

    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(data->ComNo, 4);
    EXPECT_FALSE(windows->existingSerForm()->isVisible());
    EXPECT_EQ(port().portNumber, 4);

    // Reopened, it shows the port chosen last.
    windows->choosePort();
    EXPECT_TRUE(windows->testSerForm()->portOptions[3]->isChecked());
    // And "データ送受信" now goes straight to the communication window.
    windows->testSerForm()->close();
    windows->openCommunication();
    EXPECT_TRUE(windows->existingSerForm()->isVisible());
}

TEST_F(PortDialogTest, EachOptionShowsTheDeviceItsPortResolvesTo)
{
    qputenv("ORVEX_COM2", "/tmp/orvex-sim-pty");
    qunsetenv("ORVEX_COM3");
    windows->choosePort();
    const TestSerForm *dialog = windows->testSerForm();
    EXPECT_EQ(dialog->portOptions[1]->toolTip(), QStringLiteral("/tmp/orvex-sim-pty"));
    EXPECT_EQ(dialog->portOptions[2]->toolTip(), QStringLiteral("/dev/ttyS2"));
    qunsetenv("ORVEX_COM2");
}

TEST_F(PortDialogTest, ShowingTheOpenDialogAgainBringsTheSameOneForward)
{
    windows->choosePort();
    TestSerForm *first = windows->testSerForm();
    first->portOptions[5]->click();
    windows->choosePort();
    EXPECT_EQ(windows->testSerForm(), first);
    EXPECT_TRUE(first->portOptions[5]->isChecked());
    // A port is chosen now, so "データ送受信" shows the window beside it.
    windows->openCommunication();
    EXPECT_TRUE(windows->existingSerForm()->isVisible());
    EXPECT_EQ(windows->testSerForm(), first);
}

TEST_F(PortDialogTest, APortGivenUpWhileTheDialogShowsItIsWhatOkConfirms)
{
    platform.openFails = true;
    openSerForm();
    windows->choosePort();
    windows->testSerForm()->portOptions[2]->click();
    platform.clock.advance(2000); // the poll cannot open Com3
    ASSERT_EQ(boxes.texts.size(), 1);
    flushDeletes();
    EXPECT_TRUE(windows->testSerForm()->portOptions[2]->isChecked());
    windows->testSerForm()->okButton->click();
    EXPECT_EQ(portChoices.store.load(), PortChoice::ofOption(3));
    EXPECT_EQ(port().portNumber, 3);
}
