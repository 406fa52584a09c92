// Shows the site window on three simulated units with 15 cameras, one of
// them without video, before, during and after writing every unit and with
// one unit switched off, and saves each view as a PNG: `site_preview FOLDER` under any display
// (xvfb-run in CI). Needs ORVEX_BUILD_DIR for the simulator.

#include "support/RecordingMessageBoxes.h"
#include "support/SimProcess.h"
#include "support/WaitFor.h"

#include "core/Cp932.h"
#include "site/VideoEventLog.h"
#include "siteui/SiteTree.h"
#include "siteui/SiteWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <array>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (app.arguments().size() < 2) {
        std::fprintf(stderr, "usage: site_preview FOLDER\n");
        return 2;
    }
    const QString shots = app.arguments().at(1);
    QDir().mkpath(shots);
    QTemporaryDir scratch;
    qputenv("XDG_STATE_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("state"))));

    std::array<SimProcess, 3> sims;
    const QStringList slow{QStringLiteral("--line-rate"), QStringLiteral("19200")};
    // The second unit's third camera has no video.
    if (!sims[0].start(slow) || !sims[1].start(slow + QStringList{QStringLiteral("--video-loss"), QStringLiteral("4")})
        || !sims[2].start(slow)) {
        std::fprintf(stderr, "site_preview: the simulator did not start\n");
        return 1;
    }
    const char *const titles[3][5] = {{"正門", "駐車場 北", "搬入口", "ロビー", "非常口 東"},
                                      {"1F 廊下", "2F 廊下", "倉庫", "屋上", "機械室"},
                                      {"Gate B", "Yard", "Loading dock 3 north side camera", "Office", "Server room"}};
    // As Japanese Excel saves "CSV": code page 932, CR LF.
    QString csv = QStringLiteral("装置,アドレス,チャンネル,カメラ名,メモ\r\n");
    for (int unit = 0; unit < 3; ++unit) {
        for (int camera = 0; camera < 5; ++camera) {
            csv += QStringLiteral("棟%1,%2,%3,%4,\r\n")
                       .arg(unit + 1)
                       .arg(camera == 0 ? sims[size_t(unit)].device() : QString())
                       .arg(camera + 1)
                       .arg(QString::fromUtf8(titles[unit][camera]));
        }
    }
    // A fourth unit whose adapter is not plugged in.
    csv += QStringLiteral("棟4,%1,1,通用口,\r\n").arg(scratch.filePath(QStringLiteral("ttyUSB-unplugged")));
    const QString file = scratch.filePath(QStringLiteral("site.csv"));
    // Saved as the installer saves the sheet again, a few seconds after the files made from it.
    const auto saveSchedule = [&file](const QString &text, int secondsLater) {
        QFile out(file);
        const QByteArray bytes = Cp932::encode(text);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            return false;
        if (secondsLater > 0)
            out.setFileTime(QDateTime::currentDateTime().addSecs(secondsLater), QFileDevice::FileModificationTime);
        return true;
    };
    if (!saveSchedule(csv, 0))
        return 1;

    RecordingMessageBoxes boxes;
    SiteWindow *window = SiteWindow::open(file, boxes, nullptr);
    if (!window)
        return 1;
    window->setMakeSettings([&] {
        TitlesMake::Settings settings;
        settings.workFolder = scratch.filePath(QStringLiteral("work/"));
        return settings;
    });
    window->makeAll();
    const auto save = [&](const char *name) {
        window->grab().save(QDir(shots).filePath(QString::fromLatin1(name)));
    };
    const auto answered = [&] {
        for (int unit = 0; unit < 3; ++unit) {
            if (!window->tree().unitRow(unit)->text(SiteTree::StateColumn).startsWith(QStringLiteral("応答あり")))
                return false;
        }
        return true;
    };
    waitFor(answered, 20000);
    save("site-polled.png");
    window->writeAll(false);
    waitFor([&] { return window->tree().writePercent(2).value_or(0) >= 30; }, 60000);
    save("site-writing.png");
    waitFor([&] { return !window->writing(); }, 120000);
    waitFor(answered, 20000);
    save("site-written.png");

    // A camera renamed in the sheet while the window is open.
    QString renamed = csv;
    renamed.replace(QStringLiteral("倉庫"), QStringLiteral("倉庫 西側"));
    saveSchedule(renamed, 5);
    waitFor([&] { return window->scheduleChanged(); }, 20000);
    save("site-changed-on-disk.png");
    window->load(window->scheduleFile());
    waitFor(answered, 20000);
    save("site-renamed-marked.png");
    window->writeAll(true);
    waitFor([&] { return !window->writing(); }, 120000);
    waitFor(answered, 20000);
    save("site-changed-written.png");
    std::printf("after 変更分のみ: %s\n", qPrintable(window->resultText()));

    // A schedule with an error keeps the window and what it shows.
    QString wrong = renamed;
    wrong.replace(QStringLiteral("棟2,,4,"), QStringLiteral("棟2,,9,"));
    saveSchedule(wrong, 10);
    waitFor([&] { return window->scheduleChanged(); }, 20000);
    window->load(window->scheduleFile());
    save("site-refused-kept.png");
    for (const QString &text : boxes.texts)
        std::printf("box: %s\n", qPrintable(text));

    // By keyboard: Enter on a camera opens its unit.
    QObject::connect(window, &SiteWindow::titleRequested,
                     [](const QString &opened) { std::printf("Enter opens %s\n", qPrintable(opened)); });
    window->tree().setFocus();
    window->tree().setCurrentItem(window->tree().cameraRow(1, 3));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&window->tree(), &enter);

    // The second unit switched off: the watch says so and waits for it.
    sims[1].kill();
    waitFor([&] { return window->tree().unitRow(1)->text(SiteTree::StateColumn).startsWith(QStringLiteral("接続できません")); },
            30000);
    save("site-lost.png");
    delete window;
    // What the lost camera left in the video-events log.
    QFile events(VideoEventLog::defaultPath());
    if (events.open(QIODevice::ReadOnly))
        std::fputs(events.readAll().constData(), stdout);
    return 0;
}
