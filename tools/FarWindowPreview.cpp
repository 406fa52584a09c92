// The communication window on a far unit, through the user's own ssh: the
// real platform, the address typed as an operator types it. It waits for
// the first poll, moves the overlay right twice and down once, waits for
// the poll that shows it and, with `--shots FOLDER`, saves the window
// before and after and ends.
//
//   far_window_preview ssh://far/dev/pts/3 [--shots FOLDER]
//
// ORVEX_SSH and ORVEX_REMOTE_PROGRAM are read as the editor reads them.

#include "support/RecordingMessageBoxes.h"
#include "support/ScratchPortChoices.h"
#include "support/ScriptedPortDiscovery.h"
#include "support/WaitFor.h"

#include "core/TitleData.h"
#include "linkui/LinkWindows.h"
#include "linkui/PortListPanel.h"
#include "linkui/SerForm.h"
#include "linkui/TestSerForm.h"
#include "platform/QtLinkPlatform.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        QTextStream(stderr) << "usage: far_window_preview ssh://HOST/PORT [--shots FOLDER]\n";
        return 2;
    }
    const qsizetype shots = args.indexOf(QStringLiteral("--shots"));
    const QString folder = shots >= 0 && shots + 1 < args.size() ? args[shots + 1] : QString();
    TitleData data;
    data.setDefaults();
    QtLinkPlatform platform;
    RecordingMessageBoxes boxes;
    QWidget editor;
    editor.setWindowTitle(QStringLiteral("8CH-Orvex [編集]"));
    editor.setGeometry(700, 380, 300, 200);
    editor.show();
    ScriptedPortDiscovery ports;
    ScratchPortChoices choices;
    LinkWindows windows(data, platform, boxes, ports, choices.store, &editor);

    windows.choosePort();
    TestSerForm &dialog = *windows.testSerForm();
    dialog.portPanel->addressEdit->setText(args.first());
    dialog.portPanel->useTypedAddress();
    dialog.hide();
    windows.openCommunication();
    SerForm *form = windows.existingSerForm();
    if (!form)
        return 1;
    form->move(20, 20);
    const auto lastMessage = [&] { return form ? form->ui().MessageLabel->text() : QString(); };
    // The first poll has answered when the message label says an
    // operation ended.
    if (!waitFor([&] { return windows.existingSerForm() && lastMessage() == QStringLiteral("データ送信終了しました。"); },
                 60000)) {
        QTextStream(stderr) << "no poll answered: " << boxes.texts.join(u'\n') << "\n";
        return 1;
    }
    const QString before = form->ui().HposiLabel->text() + u'/' + form->ui().VposiLabel->text();
    if (!folder.isEmpty())
        form->grab().save(folder + QStringLiteral("/SerForm-far-before.png"));
    for (int button : {3, 3, 0}) {
        form->ui().arrowButtons[size_t(button)]->click();
        waitFor([] { return false; }, 2500); // the move, then the poll after it
    }
    const QString after = form->ui().HposiLabel->text() + u'/' + form->ui().VposiLabel->text();
    QTextStream(stdout) << "position before " << before << ", after " << after << ", message " << lastMessage() << "\n";
    if (!folder.isEmpty()) {
        form->grab().save(folder + QStringLiteral("/SerForm-far-after.png"));
        app.primaryScreen()->grabWindow(0).save(folder + QStringLiteral("/screen-far.png"));
    }
    return before != after ? 0 : 1;
}
