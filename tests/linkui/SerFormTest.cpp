#include "LinkUiFixture.h"

#include "linkui/ProgressMeter.h"
#include "platform/TlsTrustStore.h"
#include "support/QtPrinters.h"

#include <QFile>

#include <QComboBox>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QFrame>
#include "linkui/CaptionFrame.h"
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

QColor buttonColour(const QPushButton *button)
{
    return button->palette().color(QPalette::Button);
}

QColor lampColour(const QFrame *lamp)
{
    return lamp->palette().color(QPalette::Window);
}

const QByteArray PollFrames[] = {"CS?\r", "HP?\r", "VP?\r", "BS01,?\r", "VL\r"};

} // namespace

using SerFormTest = LinkUiFixture;

TEST_F(SerFormTest, LoadsHiddenWithItsControlsInPlaceAndSendsNothing)
{
    windows->usePort(PortChoice::ofOption(2));
    SerForm &form = windows->serForm();
    EXPECT_FALSE(form.isVisible());
    // The caption names the device in use after the window's own name.
    EXPECT_EQ(form.windowTitle(), QStringLiteral("8CH-Orvex [通信] - /dev/ttyS1"));
    EXPECT_EQ(port().portNumber, 2);

    const SerFormUi &ui = form.ui();
    EXPECT_EQ(ui.ChSelect[7]->text(), QStringLiteral("CH8"));
    EXPECT_EQ(ui.Frame1->parentWidget(), ui.Frame3);
    EXPECT_EQ(ui.Frame4->parentWidget(), ui.Frame3);
    EXPECT_EQ(ui.arrowButtons[3]->parentWidget(), ui.Frame4);
    EXPECT_EQ(ui.WriteButton->parentWidget(), ui.Picture1);
    EXPECT_EQ(ui.WriteButton->text(), QStringLiteral("書込"));
    EXPECT_FALSE(ui.WriteButton->icon().isNull());
    EXPECT_EQ(ui.Meter->parentWidget(), ui.Frame2);
    EXPECT_EQ(ui.Meter->labelText(), QStringLiteral("0%"));
    EXPECT_EQ(ui.closeButton->text(), QStringLiteral("閉じる"));

    QStringList black, white;
    for (int i = 0; i < 4; ++i) {
        black << ui.BlackLevel->itemText(i);
        white << ui.WhiteLevel->itemText(i);
    }
    EXPECT_EQ(black, (QStringList{"0%", "10%", "20%", "30%"}));
    EXPECT_EQ(white, (QStringList{"120%", "100%", "90%", "80%"}));
    EXPECT_EQ(ui.BlackLevel->currentIndex(), 0);
    EXPECT_EQ(ui.WhiteLevel->currentIndex(), 0);

    // The start-up selection reached the engine while hidden: nothing sent,
    // and no poll until the editor shows the window.
    platform.clock.advance(10000);
    EXPECT_EQ(port().opens, 0);
    EXPECT_TRUE(port().written.isEmpty());
    EXPECT_FALSE(engine().levelListHasFocus());

    // Shown, as the operator sees it.
    windows->openCommunication();
    expectLayout(&form, QSize(348, 372),
                 {{"ChSelect_7", QRect(302, 6, 40, 30)},
                  {"VideoLoss_4", QRect(200, 38, 13, 13)},
                  {"Frame3", QRect(4, 56, 339, 121)},
                  {"Command2_3", QRect(254, 14, 27, 23)},
                  {"Command1_0", QRect(266, 6, 61, 57)},
                  {"Meter", QRect(10, 32, 319, 15)},
                  {"Command3", QRect(116, 340, 115, 28)}});
}

TEST_F(SerFormTest, PollShowsChannelPositionsLevelsAndVideoLoss)
{
    SerForm &form = openSerForm();
    const SerFormUi &ui = form.ui();
    const QColor face = form.palette().color(QPalette::Button);

    platform.clock.advance(1999);
    EXPECT_TRUE(port().written.isEmpty());
    ASSERT_TRUE(runUntil([&] { return port().written.size() == 5 && engine().isIdle(); }, 1000));

    EXPECT_EQ(port().written, QByteArrayList(std::begin(PollFrames), std::end(PollFrames)));
    EXPECT_FALSE(port().isOpen());
    EXPECT_EQ(buttonColour(ui.ChSelect[2]), QColor(0xFF8000));
    for (int i : {0, 1, 3, 4, 5, 6, 7})
        EXPECT_EQ(buttonColour(ui.ChSelect[i]), face) << i;
    EXPECT_EQ(ui.HposiLabel->text(), QStringLiteral("8"));
    EXPECT_EQ(ui.VposiLabel->text(), QStringLiteral("0"));
    EXPECT_EQ(ui.WhiteLevel->currentText(), QStringLiteral("90%"));
    EXPECT_EQ(ui.BlackLevel->currentText(), QStringLiteral("10%"));
    for (int input = 0; input < 8; ++input) {
        const bool lost = input == 1 || input == 3 || input == 4 || input == 6;
        EXPECT_EQ(lampColour(ui.VideoLoss[input]), QColor(lost ? 0xFF0000 : 0xFFFFFF)) << input;
    }
    EXPECT_EQ(ui.MessageLabel->text(), QStringLiteral("データ送信終了しました。"));
    // The levels set by the reply sent nothing of their own.
    EXPECT_EQ(port().written.size(), 5);

    // The next poll comes two seconds after the last.
    port().written.clear();
    platform.clock.advance(1999);
    EXPECT_TRUE(port().written.isEmpty());
    platform.clock.advance(1);
    EXPECT_EQ(port().written.value(0), QByteArray("CS?\r"));
}

// The lamps claim what the unit on this port said: before it has answered,
// none is lit and no input is shown with or without a signal, also when the
// window last showed another port.
TEST_F(SerFormTest, NoLampShowsAnythingUntilThePortInUseHasAnswered)
{
    SerForm &form = openSerForm();
    const SerFormUi &ui = form.ui();
    const auto shown = [&] {
        QStringList lamps;
        for (int i = 0; i < 8; ++i) {
            if (buttonColour(ui.ChSelect[i]) == QColor(0xFF8000))
                lamps << QStringLiteral("CH%1").arg(i + 1);
            const QColor lamp = lampColour(ui.VideoLoss[i]);
            if (lamp == QColor(0xFF0000) || lamp == QColor(0xFFFFFF))
                lamps << QStringLiteral("input %1").arg(i + 1);
        }
        return lamps;
    };
    EXPECT_EQ(shown(), QStringList{}) << "a new window";
    ASSERT_TRUE(runUntil([&] { return port().written.size() == 5 && engine().isIdle(); }, 3000));
    EXPECT_EQ(shown().size(), 9) << "CH3 and every input";

    // Another port, whose unit does not answer (yet).
    platform.device->silent = true;
    form.ui().closeButton->click();
    windows->choosePort();
    windows->testSerForm()->portOptions[1]->click();
    windows->testSerForm()->okButton->click();
    EXPECT_EQ(shown(), QStringList{});
    platform.clock.advance(2000);
    ASSERT_EQ(port().written.size(), 6) << "its first poll is under way";
    EXPECT_EQ(shown(), QStringList{});
}

TEST_F(SerFormTest, ClicksDuringAnOperationAreDroppedAndWorkWhenIdle)
{
    SerForm &form = openSerForm();
    const SerFormUi &ui = form.ui();
    platform.clock.advance(2000); // "CS?" sent, reply on its way
    ASSERT_FALSE(engine().isIdle());

    ui.ChSelect[4]->click();
    ui.arrowButtons[0]->click();
    choose(ui.BlackLevel, 3);
    EXPECT_EQ(port().written, QByteArrayList{"CS?\r"});
    EXPECT_EQ(ui.BlackLevel->currentIndex(), 3) << "the operator's choice stays until a poll overwrites it";

    ASSERT_TRUE(runUntil([&] { return engine().isIdle(); }, 1000));
    port().written.clear();
    ui.ChSelect[4]->click();
    EXPECT_EQ(port().written, QByteArrayList{"CS5\r"});
    // The highlight follows the device, not the click.
    EXPECT_EQ(buttonColour(ui.ChSelect[2]), QColor(0xFF8000));
    EXPECT_NE(buttonColour(ui.ChSelect[4]), QColor(0xFF8000));

    ASSERT_TRUE(runUntil([&] { return engine().isIdle(); }, 1000));
    port().written.clear();
    ui.arrowButtons[2]->click();
    EXPECT_EQ(port().written, QByteArrayList{"HP-\r"});
    // After a user operation the next poll comes within 200 ms.
    ASSERT_TRUE(runUntil([&] { return engine().isIdle(); }, 1000));
    const qint64 ended = platform.clock.now();
    ASSERT_TRUE(runUntil([&] { return port().written.size() == 2; }, 1000));
    EXPECT_EQ(port().written.last(), QByteArray("CS?\r"));
    EXPECT_EQ(platform.clock.now() - ended, 200);
}

TEST_F(SerFormTest, ChoosingALevelSendsAllRowsAndMovesTheFocusToTheWriteButton)
{
    SerForm &form = openSerForm();
    const SerFormUi &ui = form.ui();
    form.activateWindow();
    ASSERT_TRUE(waitFor([&] { return form.isActiveWindow(); }));
    choose(ui.BlackLevel, 1);
    ASSERT_TRUE(runUntil([&] { return engine().isIdle(); }, 2000));

    ui.WhiteLevel->setFocus();
    ASSERT_TRUE(waitFor([&] { return ui.WhiteLevel->hasFocus(); }));
    EXPECT_TRUE(engine().levelListHasFocus());
    port().written.clear();
    choose(ui.WhiteLevel, 2); // "90%"
    ASSERT_TRUE(runUntil([&] { return engine().isIdle(); }, 2000));

    QByteArrayList expected;
    for (int row = 1; row <= 13; ++row)
        expected << QStringLiteral("BS%1,12\r").arg(row, 2, 10, QLatin1Char('0')).toLatin1();
    EXPECT_EQ(port().written, expected);
    EXPECT_TRUE(waitFor([&] { return ui.WriteButton->hasFocus(); }));
    EXPECT_FALSE(engine().levelListHasFocus());
}

TEST_F(SerFormTest, ChoosingTheLevelAlreadyShownSendsItAgainButAPollReplySendsNothing)
{
    SerForm &form = openSerForm();
    const SerFormUi &ui = form.ui();
    ASSERT_TRUE(runUntil([&] { return port().written.size() == 5 && engine().isIdle(); }, 3000));
    ASSERT_EQ(ui.WhiteLevel->currentText(), QStringLiteral("90%")) << "set by the poll, which sent nothing";
    port().written.clear();

    choose(ui.WhiteLevel, 2);
    ASSERT_TRUE(runUntil([&] { return engine().isIdle(); }, 2000));
    ASSERT_EQ(port().written.size(), 13);
    EXPECT_EQ(port().written.first(), QByteArray("BS01,12\r"));
}

TEST_F(SerFormTest, TheActiveChannelShowsTheDevicesOrangeExactly)
{
    SerForm &form = openSerForm();
    ASSERT_TRUE(runUntil([&] { return engine().isIdle() && port().written.size() == 5; }, 3000));
    const auto shown = [](QPushButton *button) {
        return button->grab().toImage().pixelColor(4, button->height() / 2);
    };
    EXPECT_EQ(shown(form.ui().ChSelect[2]), QColor(0xFF8000));
    EXPECT_NE(shown(form.ui().ChSelect[3]), QColor(0xFF8000));

    platform.device->channelReply = QByteArray::fromHex("050d");
    ASSERT_TRUE(runUntil([&] { return buttonColour(form.ui().ChSelect[4]) == QColor(0xFF8000); }, 3000));
    EXPECT_EQ(shown(form.ui().ChSelect[4]), QColor(0xFF8000));
    EXPECT_EQ(shown(form.ui().ChSelect[2]), shown(form.ui().ChSelect[3])) << "back to the plain face";
}

TEST_F(SerFormTest, APollDoesNotOverwriteALevelBeingChosen)
{
    SerForm &form = openSerForm();
    const SerFormUi &ui = form.ui();
    form.activateWindow();
    ASSERT_TRUE(waitFor([&] { return form.isActiveWindow(); }));
    ui.BlackLevel->setFocus();
    ASSERT_TRUE(waitFor([&] { return engine().levelListHasFocus(); }));

    ASSERT_TRUE(runUntil([&] { return port().written.size() >= 5 && engine().isIdle(); },
                                            3000));
    EXPECT_EQ(ui.BlackLevel->currentIndex(), 0);
    EXPECT_EQ(ui.WhiteLevel->currentIndex(), 0);
}

TEST_F(SerFormTest, MeterFollowsAScreenStepOfTheBulkWrite)
{
    SerForm &form = openSerForm();
    data->KakikomiCh.fill(false);
    data->KakikomiCh[0] = true;
    form.KakikomiOn();
    QStringList labels;
    int widest = 0;
    int rightEdge = 0;
    while (!engine().isIdle() && labels.size() < 200) {
        platform.clock.advance(platform.device->latency);
        if (port().written.last().startsWith("@WD")) {
            labels << form.ui().Meter->labelText();
            if (form.ui().Meter->lineThickness() > widest) {
                widest = form.ui().Meter->lineThickness();
                rightEdge = form.ui().Meter->line()->geometry().right();
            }
        }
    }
    labels.removeDuplicates();
    EXPECT_EQ(labels, (QStringList{"0%", "23%", "38%", "54%", "69%", "85%", "100%"}));
    EXPECT_EQ(widest, 600);
    EXPECT_EQ(rightEdge, 299) << "only the right half shows";
}

TEST_F(SerFormTest, CloseStopsThePollAbandonsTheOperationAndKeepsTheState)
{
    SerForm &form = openSerForm();
    ASSERT_TRUE(runUntil([&] { return engine().isIdle() && !port().written.isEmpty(); },
                                            3000));
    platform.clock.advance(2000); // the next poll is under way
    ASSERT_FALSE(engine().isIdle());
    ASSERT_TRUE(port().isOpen());

    form.ui().closeButton->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(engine().isIdle());
    EXPECT_FALSE(port().isOpen());
    port().written.clear();
    platform.clock.advance(10000);
    EXPECT_TRUE(port().written.isEmpty());
    EXPECT_TRUE(boxes.texts.isEmpty()) << "the abandoned frame must not time out";

    // Shown again: the same window, its highlight kept, the poll running.
    windows->openCommunication();
    EXPECT_EQ(windows->existingSerForm(), &form);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(buttonColour(form.ui().ChSelect[2]), QColor(0xFF8000));
    platform.clock.advance(2000);
    EXPECT_EQ(port().written.value(0), QByteArray("CS?\r"));
}

TEST_F(SerFormTest, FiveTimeOutsShowTheMessageAndDestroyTheWindow)
{
    platform.silent = true; // the device never answers
    QPointer<SerForm> form = &openSerForm();
    platform.clock.advance(2000);
    ASSERT_EQ(port().written.size(), 1);
    platform.clock.advance(4 * 500);
    EXPECT_EQ(port().written.size(), 5) << "four resends";
    EXPECT_TRUE(boxes.texts.isEmpty());

    platform.clock.advance(500);
    EXPECT_EQ(boxes.titles, QStringList{"通信エラー"});
    EXPECT_EQ(boxes.texts,
              QStringList{"通信がタイムアウトしました。\r\n本体の電源、ケーブル、通信ポートを確認して下さい。"});
    EXPECT_EQ(windows->existingSerForm(), nullptr);
    flushDeletes();
    EXPECT_TRUE(form.isNull());

    // A fresh window next time, its counters from zero.
    platform.silent = false;
    windows->openCommunication();
    ASSERT_NE(windows->existingSerForm(), nullptr);
    EXPECT_NE(windows->existingSerForm(), form.data());
    EXPECT_EQ(engine().retryCount(), 0);
}

TEST_F(SerFormTest, APortThatWillNotOpenForgetsThePortAndDestroysTheWindow)
{
    platform.openFails = true;
    QPointer<SerForm> form = &openSerForm();
    platform.clock.advance(2000);

    EXPECT_EQ(boxes.texts, QStringList{"通信ポートを開けません。\r\nシリアルポートを確認して下さい。\r\n"
                                       "/dev/ttyS0 が見つかりません。"});
    EXPECT_EQ(data->ComNo, 0);
    flushDeletes();
    EXPECT_TRUE(form.isNull());
    EXPECT_EQ(windows->existingSerForm(), nullptr);

    // So the next "データ送受信" asks for a port again.
    windows->openCommunication();
    ASSERT_NE(windows->testSerForm(), nullptr);
    EXPECT_TRUE(windows->testSerForm()->isVisible());
    EXPECT_FALSE(windows->existingSerForm()->isVisible());
}

TEST_F(SerFormTest, LevelListsShowEveryItemInFull)
{
    SerForm &form = openSerForm();
    for (QComboBox *list : {form.ui().BlackLevel, form.ui().WhiteLevel}) {
        for (int i = 0; i < list->count(); ++i) {
            list->setCurrentIndex(i);
            QStyleOptionComboBox option;
            option.initFrom(list);
            option.currentText = list->currentText();
            const QRect field =
                list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
            // The label is drawn one pixel in from either side of the field.
            EXPECT_GE(field.width() - 2, list->fontMetrics().horizontalAdvance(list->currentText()))
                << qPrintable(list->currentText());
        }
    }
}

TEST_F(SerFormTest, AnUnknownCertificateIsOneBoxThatMayTrustItForThatServer)
{
    const QString address = QStringLiteral("tls://Rack-7:4443");
    for (const bool trusting : {false, true}) {
        QFile::remove(TlsTrustStore::defaultPath());
        windows->usePort(PortChoice::ofAddress(address));
        windows->openCommunication();
        port().network = true;
        port().refusedCertificate = QStringLiteral("AB:CD");
        boxes.takeAction = trusting;
        windows->existingSerForm()->startPolling();
        ASSERT_TRUE(runUntil([&] { return port().connecting; }, 3000));
        port().finishOpen(false, OpenFailure::Tls, QStringLiteral("証明書は信頼されていません"));
        ASSERT_EQ(boxes.actions, QStringList{QStringLiteral("この証明書を信頼する")}) << "one box, offering it";
        EXPECT_TRUE(boxes.texts.last().contains(QStringLiteral("証明書は信頼されていません"))) << boxes.texts.last().toStdString();
        TlsTrustStore store;
        ASSERT_TRUE(store.load());
        EXPECT_EQ(store.trust(QStringLiteral("rack-7:4443")).pinned, trusting ? QStringLiteral("AB:CD") : QString());
        boxes.actions.clear();
        flushDeletes();
    }
    QFile::remove(TlsTrustStore::defaultPath());
}
