// Shows the communication window, the port dialog, the write settings and
// "通信履歴" side by side, against a scripted device in virtual time, for a
// look at the layout: `linkui_preview` under any display (xvfb-run in CI).
// With `--shots FOLDER` it saves the screen and each window there and ends.
// A write is recorded in the transfer log: point XDG_STATE_HOME elsewhere.

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
    // Before its port has answered.
    const QPixmap unanswered = form.grab();
    // One poll and a write of CH3 to the end, for the history.
    platform.clock.advance(2100);
    data.KakikomiCh.fill(false);
    data.KakikomiCh[2] = true;
    form.KakikomiOn();
    platform.clock.advance(20000);
    data.DispData(5, 0, 7) = 176; // CH8 changed since
    // The first frames of the next write, so the meter shows.
    form.ui().WriteButton->click();
    SetForm &settings = *form.setForm();
    settings.move(400, 20);
    settings.changedButton->click();
    settings.channelChecks[2]->click();
    data.KakikomiCh.fill(false);
    data.KakikomiCh[2] = data.KakikomiCh[7] = true;
    form.KakikomiOn();
    platform.clock.advance(70);
    windows.showHistory();

    const int at = app.arguments().indexOf(QStringLiteral("--shots"));
    if (app.arguments().contains(QStringLiteral("--quit-after")))
        QTimer::singleShot(app.arguments().last().toInt(), &app, &QApplication::quit);
    if (at > 0 && at + 1 < app.arguments().size()) {
        const QString folder = app.arguments().at(at + 1);
        QTimer::singleShot(800, &app, [&, folder] {
            unanswered.save(folder + QStringLiteral("/SerForm-unanswered.png"));
            app.primaryScreen()->grabWindow(0).save(folder + QStringLiteral("/screen.png"));
            const QList<QWidget *> shown{&dialog, &form, &settings, windows.historyWindow()};
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
