// Shows the communication window, the port dialog and the write settings
// side by side, against a scripted device in virtual time, for a look at
// the layout: `linkui_preview` under any display (xvfb-run in CI).

#include "support/FakeLinkPlatform.h"
#include "support/RecordingMessageBoxes.h"
#include "support/ScratchPortChoices.h"
#include "support/ScriptedPortDiscovery.h"

#include "core/TitleData.h"
#include "linkui/LinkWindows.h"
#include "linkui/SerForm.h"
#include "linkui/SetForm.h"
#include "linkui/TestSerForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
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
    windows.testSerForm()->move(20, 420);
    windows.openCommunication();
    SerForm &form = *windows.existingSerForm();
    form.move(20, 20);
    // One poll and the first frames of a write, so every read-out shows.
    platform.clock.advance(2100);
    form.ui().WriteButton->click();
    SetForm &settings = *form.setForm();
    settings.move(400, 20);
    settings.sendOptions[1]->click();
    settings.channelChecks[2]->click();
    settings.channelChecks[7]->click();
    data.KakikomiCh.fill(false);
    data.KakikomiCh[2] = true;
    form.KakikomiOn();
    platform.clock.advance(70);

    if (app.arguments().contains(QStringLiteral("--quit-after")))
        QTimer::singleShot(app.arguments().last().toInt(), &app, &QApplication::quit);
    return app.exec();
}
