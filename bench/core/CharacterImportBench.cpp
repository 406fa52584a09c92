#include "core/CharacterImage.h"
#include "core/CharacterImport.h"

#include <benchmark/benchmark.h>

namespace {

TitleData stripedTitle()
{
    TitleData data;
    data.setDefaults();
    const PixelCode codes[] = {PixelCode::black(), PixelCode::white(), PixelCode::transparent()};
    for (int code = 0; code < Title::CodeCount; ++code)
        for (int dot = 0; dot < Title::DotsPerCode; ++dot)
            data.DotData[code][dot] = codes[(code + dot) % 3];
    return data;
}

void BM_ExportSheet(benchmark::State &state)
{
    const TitleData data = stripedTitle();
    for (auto _ : state)
        benchmark::DoNotOptimize(CharacterImage::sheet(data));
}
BENCHMARK(BM_ExportSheet)->Unit(benchmark::kMillisecond);

// Reading a sheet enlarged by the argument, as a paint program saves it.
void BM_ImportSheet(benchmark::State &state)
{
    const TitleData data = stripedTitle();
    const QImage sheet = CharacterImage::sheet(data);
    const QImage scaled = sheet.scaled(sheet.size() * int(state.range(0)));
    for (auto _ : state) {
        const PatternImport result = CharacterImport::read(scaled, data, CharacterLayout::sheet());
        if (!result.ok())
            state.SkipWithError("import refused");
        benchmark::DoNotOptimize(result.patterns.data());
    }
}
BENCHMARK(BM_ImportSheet)->Arg(1)->Arg(4)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace
