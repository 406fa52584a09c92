#include "charedit/HensyuForm.h"

#include "core/TitleData.h"
#include "document/TitleDocument.h"

#include <QApplication>

#include <benchmark/benchmark.h>

// One command of the enlarged editor on a full grid, including the grid's
// repaint request, then "保存" back into the title data.
static void BM_HensyuCommandAndSave(benchmark::State &state)
{
    TitleData data;
    data.setDefaults();
    for (int d = 0; d < Title::VisibleDots; ++d)
        data.DotData[1][d] = d % 3 == 0 ? PixelCode::white() : PixelCode::transparent();
    TitleDocument document(data, QString());
    int redraws = 0;
    QObject::connect(&document, &TitleDocument::patternsChanged, [&redraws] { ++redraws; });
    HensyuForm form(document);
    form.setAttribute(Qt::WA_DeleteOnClose, false);
    form.KakudaiDataSet(1);
    const int command = int(state.range(0));
    for (auto _ : state) {
        form.applyCommand(command);
        form.saveCharacter();
    }
    benchmark::DoNotOptimize(redraws);
}
BENCHMARK(BM_HensyuCommandAndSave)
    ->Arg(HensyuForm::Edging)
    ->Arg(HensyuForm::SwapBlackWhite)
    ->Arg(HensyuForm::ShiftRight);

// Loading a character, as a palette press does.
static void BM_KakudaiDataSet(benchmark::State &state)
{
    TitleData data;
    data.setDefaults();
    TitleDocument document(data, QString());
    HensyuForm form(document);
    form.setAttribute(Qt::WA_DeleteOnClose, false);
    int code = 0;
    for (auto _ : state)
        form.KakudaiDataSet(code++ & 0xFF);
}
BENCHMARK(BM_KakudaiDataSet);
