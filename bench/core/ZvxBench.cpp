#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"
#include "support/FullTitle.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_WriteFullFile(benchmark::State &state)
{
    QTemporaryDir dir;
    auto data = fullTitle();
    const QString name = dir.filePath(QStringLiteral("bench.zvx"));
    for (auto _ : state) {
        const ZvxWriteResult result = ZvxWriter::writeFile(name, *data);
        if (!result.ok)
            state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_WriteFullFile)->Unit(benchmark::kMillisecond);

void BM_ReadFullFile(benchmark::State &state)
{
    QTemporaryDir dir;
    auto data = fullTitle();
    const QString name = dir.filePath(QStringLiteral("bench.zvx"));
    ZvxWriter::writeFile(name, *data);
    for (auto _ : state) {
        const ZvxReadResult result = ZvxReader::readFile(name, *data);
        if (!result.ok())
            state.SkipWithError("read failed");
    }
}
BENCHMARK(BM_ReadFullFile)->Unit(benchmark::kMillisecond);

} // namespace
