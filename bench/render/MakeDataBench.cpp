#include "render/AllChannelsMake.h"
#include "render/MakeData.h"
#include "render/RenderFont.h"

#include "core/TitleData.h"
#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

MakeData::Request benchRequest(const QTemporaryDir &dir)
{
    MakeData::Request request;
    request.text = QStringLiteral("本日のニュース ABC 123");
    request.font = RenderFont::defaultFont();
    request.topCode = 26;
    request.page = 1;
    request.selCell = 3;
    request.workFolder = dir.path() + u'/';
    return request;
}

} // namespace

// "データ作成" end to end: draw, write MyBmp.bmp, sample, edge, clear and
// place, then the work-file round trip of saving and opening the title.
static void BM_MakeDataWithFileRoundTrip(benchmark::State &state)
{
    QTemporaryDir dir;
    TitleData data;
    data.setDefaults();
    const MakeData::Request request = benchRequest(dir);
    const QString file = dir.path() + QStringLiteral("/title.zvx");

    for (auto _ : state) {
        MakeData::run(data, request);
        ZvxWriter::writeFile(file, data);
        benchmark::DoNotOptimize(ZvxReader::readFile(file, data).ok());
    }
}
BENCHMARK(BM_MakeDataWithFileRoundTrip)->Unit(benchmark::kMillisecond);

// The rendering alone, as the operator feels it after pressing the button.
static void BM_MakeData(benchmark::State &state)
{
    QTemporaryDir dir;
    TitleData data;
    data.setDefaults();
    const MakeData::Request request = benchRequest(dir);
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeData::run(data, request).cellsPlaced);
}
BENCHMARK(BM_MakeData)->Unit(benchmark::kMillisecond);

// "全チャンネル作成" / `orvex titles`: eight captions made in one go.
static void BM_AllChannelsMake(benchmark::State &state)
{
    QTemporaryDir dir;
    TitleData data;
    data.setDefaults();
    AllChannelsMake::Request request;
    for (int ch = 0; ch < Title::Channels; ++ch)
        request.texts[size_t(ch)] = QStringLiteral("CAM%1 本日のニュース").arg(ch + 1);
    request.font = RenderFont::defaultFont();
    request.workFolder = dir.path() + u'/';
    for (auto _ : state)
        benchmark::DoNotOptimize(AllChannelsMake::run(data, request).made);
}
BENCHMARK(BM_AllChannelsMake)->Unit(benchmark::kMillisecond);
