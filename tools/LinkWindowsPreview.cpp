// Shows the communication window, the port dialog, the write settings and
// "通信履歴" side by side, against a scripted device in virtual time, for a
// look at the layout: `linkui_preview` under any display (xvfb-run in CI).
// With `--shots FOLDER` it saves the screen and each window there and ends;
// with `--resume` the write settings offer the rest of a write cut off.
// A write is recorded in the transfer log: point XDG_STATE_HOME elsewhere.
// With `--loopback FOLDER` the port is a loopback plug (every byte comes
// back): it saves the window after a poll and the warning of a write, as
// the program's own box shows it, and ends.

#include "support/FakeLinkPlatform.h"
#include "support/RecordingMessageBoxes.h"
#include "support/ScratchPortChoices.h"
#include "support/ScriptedPortDiscovery.h"

#include "core/TitleData.h"
#include "linkui/LinkWindows.h"
#include "linkui/PortListPanel.h"
#include "linkui/SerForm.h"
#include "linkui/SetForm.h"
#include "linkui/TestSerForm.h"
#include "linkui/TransferHistoryWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TitleData data;
    data.setDefaults();
    FakeLinkPlatform platform;
    RecordingMessageBoxes boxes;

    QWidget editor;
    editor.setWindowTitle(QStringLiteral("8CH-Orvex [編集]"));
    editor.setGeometry(700, 380, 300, 200);
    editor.show();
    ScriptedPortDiscovery ports;
    ports.present = ScriptedPortDiscovery::typical();
    ScratchPortChoices choices;
    LinkWindows windows(data, platform, boxes, ports, choices.store, &editor);

    windows.choosePort();
    TestSerForm &dialog = *windows.testSerForm();
    dialog.move(20, 420);
    dialog.portPanel->addressEdit->setText(QStringLiteral("tcp://192.168.1.20:4001"));
    dialog.portPanel->useTypedAddress();
    windows.openCommunication();
    SerForm &form = *windows.existingSerForm();
    form.move(20, 20);
    if (const int loop = app.arguments().indexOf(QStringLiteral("--loopback")); loop > 0) {
        const QString folder = app.arguments().value(loop + 1);
        platform.device->alter = [](int, const QByteArray &frame, const QByteArray &) { return frame; };
        platform.clock.advance(2100);
        form.grab().save(folder + QStringLiteral("/SerForm-loopback.png"));
        data.KakikomiCh.fill(true);
        form.KakikomiOn();
        QMessageBox box(QMessageBox::Warning, boxes.titles.value(boxes.titles.size() - 1),
                        boxes.texts.value(boxes.texts.size() - 1), QMessageBox::Ok);
        box.show();
        QTimer::singleShot(500, &app, [&] {
            box.grab().save(folder + QStringLiteral("/warning-loopback.png"));
            app.quit();
        });
        return app.exec();
    }
    // Before its port has answered.
    const QPixmap unanswered = form.grab();
    // One poll and a write of CH3 to the end, for the history.
    platform.clock.advance(2100);
    data.KakikomiCh.fill(false);
    data.KakikomiCh[2] = true;
    form.KakikomiOn();
    platform.clock.advance(20000);
    SerForm *shownForm = &form;
    const bool resume = app.arguments().contains(QStringLiteral("--resume"));
    if (resume) {
        // A write of CH1..CH5 cut off in CH3 by the line going, then
        // "書込" again: the dialog offers the rest on that port.
        data.KakikomiCh.fill(false);
        for (int ch = 0; ch < 5; ++ch)
            data.KakikomiCh[size_t(ch)] = true;
        platform.port->written.clear();
        form.KakikomiOn();
        while (platform.port->written.size() < 2 * 43 + 10)
            platform.clock.advance(1);
        platform.port->vanish();
        platform.clock.advance(500);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // The device is back: the same address again, as from the dialog.
        windows.usePort(windows.port());
        windows.openCommunication();
        shownForm = windows.existingSerForm();
        shownForm->move(20, 20);
    }
    SerForm &current = *shownForm;
    data.DispData(5, 0, 7) = 176; // CH8 changed since
    // The first frames of the next write, so the meter shows.
    current.ui().WriteButton->click();
    SetForm &settings = *current.setForm();
    settings.move(400, 20);
    if (!resume) {
        settings.changedButton->click();
        settings.channelChecks[2]->click();
        data.KakikomiCh.fill(false);
        data.KakikomiCh[2] = data.KakikomiCh[7] = true;
        form.KakikomiOn();
        platform.clock.advance(70);
    }
    windows.showHistory();

    const int at = app.arguments().indexOf(QStringLiteral("--shots"));
    if (app.arguments().contains(QStringLiteral("--quit-after")))
        QTimer::singleShot(app.arguments().last().toInt(), &app, &QApplication::quit);
    if (at > 0 && at + 1 < app.arguments().size()) {
        const QString folder = app.arguments().at(at + 1);
        QTimer::singleShot(800, &app, [&, folder] {
            unanswered.save(folder + QStringLiteral("/SerForm-unanswered.png"));
            app.primaryScreen()->grabWindow(0).save(folder + QStringLiteral("/screen.png"));
            const QList<QWidget *> shown{&dialog, &current, &settings, windows.historyWindow()};
            for (QWidget *window : shown)
                window->grab().save(folder + QLatin1Char('/') + window->objectName() + QStringLiteral(".png"));
            // Shown again: the focus frame marks where Return goes.
            settings.hide();
            settings.show();
            settings.activateWindow();
            QApplication::processEvents();
            settings.grab().save(folder + QStringLiteral("/SetForm-reopened.png"));
            // Typed paths that are no port, said beside the field.
            for (const QString &typed : {QStringLiteral("/"), QStringLiteral("/dev/nonexistent")}) {
                dialog.portPanel->addressEdit->setText(typed);
                dialog.portPanel->useTypedAddress();
                dialog.grab().save(folder + QStringLiteral("/TestSerForm-") + (typed.size() == 1 ? "folder" : "missing")
                                   + QStringLiteral(".png"));
            }
            app.quit();
        });
    }
    return app.exec();
}
