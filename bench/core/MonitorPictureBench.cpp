#include "core/MonitorPicture.h"

#include "support/FullTitle.h"

#include <benchmark/benchmark.h>

// One monitor redrawn after a change to its channel, over the bars and over
// a camera still, at the monitor window's scale.
static void BM_MonitorChannel(benchmark::State &state)
{
    const auto data = fullTitle();
    QImage still;
    if (state.range(0) != 0) {
        still = QImage(640, 480, QImage::Format_RGB32);
        still.fill(Qt::darkCyan);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(MonitorPicture::channel(*data, 3, still, 1).constBits());
}
BENCHMARK(BM_MonitorChannel)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
