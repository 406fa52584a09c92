// Bulk write of all eight channels to orvex-sim pacing its replies at 9600
// baud: over its pseudo-terminal directly, and through ser2net by raw TCP
// and by RFC 2217. The figure that matters is wall time divided by line
// time (every frame and reply at 10 bits a byte): how much the program, and
// the network on the way, add to the physical limit of the line.

#include "LinkBenchParts.h"

#include "support/Ser2netProcess.h"

#include <benchmark/benchmark.h>

namespace {

using namespace LinkBench;

enum Route { Direct, RawTcp, Rfc2217 };

void BM_BulkWriteAllChannels(benchmark::State &state)
{
    QProcess sim;
    QString device = startSimulator(sim);
    if (device.isEmpty()) {
        state.SkipWithError("orvex-sim did not start");
        return;
    }
    const auto route = Route(state.range(0));
    Ser2netProcess server;
    if (route != Direct) {
        if (!Ser2netProcess::available()) {
            state.SkipWithError("ser2net is not installed");
            return;
        }
        if (!server.start(route == RawTcp ? Ser2netProcess::Accepter::RawTcp : Ser2netProcess::Accepter::Rfc2217,
                          device)) {
            state.SkipWithError(qPrintable(server.failure()));
            return;
        }
        device = server.address();
    }
    TitleData data = writableTitle();

    double wall = 0, line = 0;
    for (auto _ : state) {
        const WriteRun run = timedWrite(data, device);
        state.SetIterationTime(run.seconds);
        if (run.failed) {
            state.SkipWithError("the write did not finish");
            break;
        }
        wall += run.seconds;
        line += run.lineSeconds;
    }
    state.counters["wall_s"] = wall / state.iterations();
    state.counters["line_s"] = line / state.iterations();
    state.counters["wall_per_line"] = line > 0 ? wall / line : 0;
    sim.terminate();
    sim.waitForFinished(30000);
}

} // namespace

BENCHMARK(BM_BulkWriteAllChannels)
    ->ArgName("route(0=pty,1=tcp,2=rfc2217)")
    ->Arg(Direct)
    ->Arg(RawTcp)
    ->Arg(Rfc2217)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
