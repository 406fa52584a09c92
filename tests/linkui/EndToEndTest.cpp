// The communication window and its dialogs, on the real serial port and
// timers, loading a title into orvex-sim over a pseudo-terminal.

#include "support/ExpectedDeviceState.h"
#include "support/QtPrinters.h"
#include "support/RecordingMessageBoxes.h"
#include "support/ScratchPortChoices.h"
#include "support/ScriptedPortDiscovery.h"
#include "support/Ser2netProcess.h"
#include "support/SimProcess.h"
#include "support/WaitFor.h"

#include "core/TitleData.h"
#include "link/LinkEngine.h"
#include "linkui/LinkWindows.h"
#include "linkui/PortListPanel.h"
#include "linkui/SerForm.h"
#include "linkui/SetForm.h"
#include "linkui/TestSerForm.h"
#include "platform/QtLinkPlatform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A title in which every channel has its own page and characters, so a
// channel sent from the wrong source cannot match by accident.
void fillTitle(TitleData &data)
{
    data.setDefaults();
    const PixelCode dots[] = {PixelCode::black(), PixelCode::white(), PixelCode::transparent()};
    for (int code = 0; code < Title::CodeCount; ++code)
        for (int dot = 0; dot < Title::DotsPerCode; ++dot)
            data.DotData[code][dot] = dots[(code * 7 + dot * (code % 5 + 1)) % 3];
    for (int page = 0; page < Title::Channels; ++page)
        for (int cell = 0; cell < Title::Cells; ++cell)
            data.DispData(cell, 0, page) = quint8((cell + page) % 26 == 0 ? 0 : 25 * page + (cell + page) % 26);
}

QJsonObject readState(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

} // namespace

TEST(EndToEndTest, ATitleReachesTheSimulatorThroughTheWindows)
{
    if (SimProcess::buildDir().isEmpty())
        GTEST_SKIP() << "ORVEX_BUILD_DIR names the build folder holding orvex-sim";
    SimProcess sim;
    ASSERT_TRUE(sim.start({QStringLiteral("--video-loss"), QStringLiteral("18")}));
    const QString pty = sim.device();
    const QString stateFile = sim.folder() + QStringLiteral("/state.json");
    qputenv("ORVEX_COM1", pty.toLocal8Bit());

    auto data = std::make_unique<TitleData>();
    fillTitle(*data);
    QtLinkPlatform platform;
    RecordingMessageBoxes boxes;
    QWidget editor; // stands in for EditForm
    editor.show();
    ScriptedPortDiscovery ports;
    ScratchPortChoices choices;
    LinkWindows windows(*data, platform, boxes, ports, choices.store, &editor);

    // "データ送受信" with no port chosen: the port dialog, Com1 selected.
    windows.openCommunication();
    TestSerForm *dialog = windows.testSerForm();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->portOptions[0]->isChecked());
    EXPECT_EQ(data->ComNo, 1);
    EXPECT_EQ(dialog->portOptions[0]->toolTip(), pty);
    dialog->okButton->click();

    SerForm *form = windows.existingSerForm();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(form->isVisible());
    const SerFormUi &ui = form->ui();

    // The first poll: channel 1 active, centred overlay, the device's levels
    // (black 0 %, white 100 %) and video lost on inputs 2 and 5.
    ASSERT_TRUE(waitFor([&] { return ui.WhiteLevel->currentText() == QStringLiteral("100%"); }, 10000))
        << qPrintable(boxes.texts.join(u'\n'));
    ASSERT_TRUE(waitFor([&] { return form->engine().isIdle(); }, 5000));
    EXPECT_EQ(ui.ChSelect[0]->palette().color(QPalette::Button), QColor(0xFF8000));
    EXPECT_EQ(ui.HposiLabel->text(), QStringLiteral("0"));
    EXPECT_EQ(ui.VposiLabel->text(), QStringLiteral("0"));
    EXPECT_EQ(ui.BlackLevel->currentText(), QStringLiteral("0%"));
    for (int input = 0; input < 8; ++input) {
        const bool lost = input == 1 || input == 4;
        EXPECT_EQ(ui.VideoLoss[input]->palette().color(QPalette::Window), QColor(lost ? 0xFF0000 : 0xFFFFFF))
            << input;
    }

    // "書込" -> "指定チャンネルデータ送信", CH3 and CH8 -> "実行".
    ui.WriteButton->click();
    SetForm *settings = form->setForm();
    ASSERT_NE(settings, nullptr);
    settings->sendOptions[1]->click();
    settings->channelChecks[2]->click();
    settings->channelChecks[7]->click();
    settings->executeButton->click();

    const auto channelDone = [&](int ch) {
        const QJsonArray channels = readState(stateFile).value(QStringLiteral("channels")).toArray();
        return channels.size() == 8 && channels.at(ch).toObject().value(QStringLiteral("data_frames")).toInt() == 39;
    };
    ASSERT_TRUE(waitFor([&] { return channelDone(2) && channelDone(7); }, 30000))
        << qPrintable(boxes.texts.join(u'\n'));
    ASSERT_TRUE(waitFor(
        [&] {
            return form->engine().isIdle()
                   && ui.MessageLabel->text() == QStringLiteral("データ送信終了しました。");
        },
        5000));
    EXPECT_TRUE(boxes.texts.isEmpty()) << qPrintable(boxes.texts.join(u'\n'));

    // The next poll shows the channel the write selected last.
    EXPECT_TRUE(waitFor([&] { return ui.ChSelect[7]->palette().color(QPalette::Button) == QColor(0xFF8000); },
                        5000));

    const QJsonArray channels = sim.stopAndReadState().value(QStringLiteral("channels")).toArray();
    ASSERT_EQ(channels.size(), 8);
    for (int ch = 0; ch < 8; ++ch) {
        const QJsonObject channel = channels.at(ch).toObject();
        if (ch != 2 && ch != 7) {
            EXPECT_EQ(channel.value(QStringLiteral("data_frames")).toInt(), 0) << "nothing sent to CH" << ch + 1;
            continue;
        }
        EXPECT_EQ(QByteArray::fromHex(channel.value(QStringLiteral("page")).toString().toLatin1()),
                  expectedPage(*data, ch))
            << "CH" << ch + 1;
        const QJsonArray patterns = channel.value(QStringLiteral("patterns")).toArray();
        ASSERT_EQ(patterns.size(), 26);
        for (int slot = 0; slot < 26; ++slot)
            EXPECT_EQ(QByteArray::fromHex(patterns.at(slot).toString().toLatin1()),
                      expectedPattern(data->DotData[slot == 0 ? 0 : 25 * ch + slot]))
                << "CH" << ch + 1 << " slot " << slot;
    }
    qunsetenv("ORVEX_COM1");
}

TEST(EndToEndTest, AServerAddressTypedOnceIsUsedAgainAfterARestart)
{
    if (SimProcess::buildDir().isEmpty())
        GTEST_SKIP() << "ORVEX_BUILD_DIR names the build folder holding orvex-sim";
    if (!Ser2netProcess::available())
        GTEST_SKIP() << "ser2net is not installed";
    SimProcess sim;
    ASSERT_TRUE(sim.start({}));
    Ser2netProcess server;
    ASSERT_TRUE(server.start(Ser2netProcess::Accepter::RawTcp, sim.device())) << qPrintable(server.failure());
    const QString address = server.address();

    TitleData data;
    fillTitle(data);
    QtLinkPlatform platform;
    RecordingMessageBoxes boxes;
    ScriptedPortDiscovery ports;
    ScratchPortChoices choices;
    QWidget editor;
    editor.show();
    // Every channel written, and the write over, as the engine reports it
    // (a resend under load would make the simulator's frame count no
    // measure of that); the port the write went through.
    const auto writeAll = [&](LinkWindows &windows) -> QString {
        SerForm *form = windows.existingSerForm();
        if (!form || !form->isVisible())
            return QStringLiteral("no window");
        data.KakikomiCh.fill(true);
        form->KakikomiOn();
        const DeviceLink &engine = form->engine();
        if (!waitFor([&] { return engine.lastBulkWrite().has_value() && engine.isIdle(); }, 30000))
            return QStringLiteral("the write did not end");
        if (engine.lastBulkWrite()->outcome != WriteOutcome::Done)
            return QStringLiteral("the write failed");
        return engine.lastBulkWrite()->port;
    };

    {
        LinkWindows windows(data, platform, boxes, ports, choices.store, &editor);
        windows.openCommunication();
        TestSerForm *dialog = windows.testSerForm();
        ASSERT_NE(dialog, nullptr);
        QLineEdit *field = dialog->portPanel->addressEdit;
        field->setFocus();
        QTest::keyClicks(field, address);
        QTest::keyClick(field, Qt::Key_Return); // uses it
        QTest::keyClick(field, Qt::Key_Return); // confirms it
        ASSERT_EQ(writeAll(windows), address) << qPrintable(boxes.texts.join(u'\n'));
        EXPECT_EQ(windows.existingSerForm()->windowTitle(), QStringLiteral("8CH-Orvex [通信] - ") + address);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The next start: "データ送受信" goes straight to the window on the server.
    data.ComNo = 0;
    LinkWindows windows(data, platform, boxes, ports, choices.store, &editor);
    windows.openCommunication();
    EXPECT_EQ(windows.testSerForm(), nullptr);
    ASSERT_EQ(writeAll(windows), address) << qPrintable(boxes.texts.join(u'\n'));
    EXPECT_TRUE(boxes.texts.isEmpty()) << qPrintable(boxes.texts.join(u'\n'));

    const QJsonArray channels = sim.stopAndReadState().value(QStringLiteral("channels")).toArray();
    ASSERT_EQ(channels.size(), 8);
    for (int ch = 0; ch < 8; ++ch)
        EXPECT_GE(channels.at(ch).toObject().value(QStringLiteral("data_frames")).toInt(), 2 * 39) << "CH" << ch + 1;
    for (int ch = 0; ch < 8; ++ch)
        EXPECT_EQ(QByteArray::fromHex(channels.at(ch).toObject().value(QStringLiteral("page")).toString().toLatin1()),
                  expectedPage(data, ch))
            << "CH" << ch + 1;
}
