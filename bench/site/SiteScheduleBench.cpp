// Reading a camera schedule of many units, each on its own network port:
// the time per unit should stay flat as the units grow (the check of two
// units on one port is a hash, not every unit against every other).

#include "site/SiteSchedule.h"

#include <benchmark/benchmark.h>

namespace {

QByteArray schedule(int units)
{
    QByteArray csv = "unit,address,channel,title\n";
    for (int i = 0; i < units; ++i)
        csv += QStringLiteral("U%1,tcp://rack-%2:%3,1,Camera %1\n").arg(i).arg(i / 1000).arg(1000 + i % 1000).toUtf8();
    return csv;
}

void readSchedule(benchmark::State &state)
{
    const QByteArray csv = schedule(int(state.range(0)));
    for (auto _ : state) {
        const SiteSchedule::Read read = SiteSchedule::parse(csv);
        benchmark::DoNotOptimize(read.schedule);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(readSchedule)->Arg(1000)->Arg(8000)->Unit(benchmark::kMillisecond);
