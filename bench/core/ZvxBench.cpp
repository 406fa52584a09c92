#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A title with every store filled, so the file has its full size.
std::unique_ptr<TitleData> fullTitle()
{
    auto data = std::make_unique<TitleData>();
    data->setDefaults();
    const PixelCode codes[] = {PixelCode::black(), PixelCode::white(), PixelCode::transparent()};
    for (int code = 0; code < Title::CodeCount; ++code)
        for (int dot = 0; dot < Title::DotsPerCode; ++dot)
            data->DotData[code][dot] = codes[(code + dot) % 3];
    for (int i = 0; i < DispPages::Size; ++i)
        data->DispData.bytes()[i] = quint8(i % 256);
    for (auto &text : data->ChText)
        text = QStringLiteral("本日の ニュース");
    return data;
}

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
