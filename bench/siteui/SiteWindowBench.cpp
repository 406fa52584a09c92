#include "siteui/SiteTree.h"
#include "siteui/SiteWindow.h"

#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct NoBoxes : MessageBoxes
{
    void warning(QWidget *, const QString &, const QString &) override {}
    SaveChoice askSave(QWidget *, const QString &, const QString &) override { return SaveChoice::Cancel; }
};

// Counts the paints of the table, so a measure ends when the row is on screen.
struct PaintCounter : QObject
{
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// Four units of eight cameras; one unit's poll turns a camera's video on
// or off each time, as a poll does: from the row told to the row painted.
void BM_RedrawAfterOneUnitsPoll(benchmark::State &state)
{
    QTemporaryDir dir;
    qputenv("XDG_STATE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("state"))));
    SiteSchedule schedule;
    for (int u = 0; u < 4; ++u) {
        SiteSchedule::Unit unit;
        unit.name = QStringLiteral("棟%1").arg(u + 1);
        for (int ch = 1; ch <= 8; ++ch)
            unit.cameras << SiteSchedule::Camera{ch, QStringLiteral("カメラ %1-%2").arg(u + 1).arg(ch), ch + 1};
        schedule.units << unit;
    }
    NoBoxes boxes;
    SiteWindow window(schedule, dir.filePath(QStringLiteral("site.csv")), boxes);
    window.show();
    QApplication::processEvents();
    PaintCounter counter;
    window.tree().viewport()->installEventFilter(&counter);

    SitePoller::Unit polled;
    polled.name = schedule.units[2].name;
    polled.address = QStringLiteral("/dev/ttyUSB2");
    polled.polled = polled.answered = true;
    polled.status.channel = 0;
    polled.status.videoLossKnown = true;
    for (auto _ : state) {
        polled.status.videoLoss[2] = !polled.status.videoLoss[2];
        const int before = counter.paints;
        QElapsedTimer clock;
        clock.start();
        window.tree().showPoll(2, polled);
        while (counter.paints == before)
            QApplication::processEvents();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_RedrawAfterOneUnitsPoll)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
