// The communication window on a real TLS server whose certificate is not
// trusted yet (or was replaced): the real port, the real box. With
// `--shots FOLDER` it saves the screen with the box, answers it by keyboard
// alone (Tab to "この証明書を信頼する", Space) and ends.
//   tls_refusal_preview tls://127.0.0.1:7443 --shots /tmp/shots
// The trust chosen lands in $XDG_CONFIG_HOME/orvex: point it elsewhere.

#include "support/ScratchPortChoices.h"
#include "support/ScriptedPortDiscovery.h"

#include "core/TitleData.h"
#include "linkui/LinkWindows.h"
#include "linkui/SerForm.h"
#include "platform/MessageBoxes.h"
#include "platform/QtLinkPlatform.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return 2;
    TitleData data;
    data.setDefaults();
    QtLinkPlatform platform;
    QtMessageBoxes boxes;
    QWidget editor;
    editor.setWindowTitle(QStringLiteral("8CH-Orvex [編集]"));
    editor.setGeometry(700, 380, 300, 200);
    editor.show();
    ScriptedPortDiscovery ports;
    ScratchPortChoices choices;
    LinkWindows windows(data, platform, boxes, ports, choices.store, &editor);
    windows.usePort(PortChoice::ofAddress(args.at(1)));
    windows.openCommunication();
    windows.existingSerForm()->move(20, 20);
    windows.existingSerForm()->startPolling();

    const int at = args.indexOf(QStringLiteral("--shots"));
    if (at > 0 && at + 1 < args.size()) {
        const QString folder = args.at(at + 1);
        QTimer::singleShot(2500, &app, [&, folder] {
            app.primaryScreen()->grabWindow(0).save(folder + QStringLiteral("/screen-box.png"));
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                box->grab().save(folder + QStringLiteral("/certificate-box.png"));
                QTest::keyClick(box, Qt::Key_Tab);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            }
            QTimer::singleShot(500, &app, &QApplication::quit);
        });
    }
    return app.exec();
}
