#include "editor/EditForm.h"

#include "platform/FileDialogs.h"
#include "platform/FontDialogs.h"
#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The benchmarks never open a dialog; these only satisfy the window.
struct NoDialogs : MessageBoxes, FileDialogs, FontDialogs
{
    void warning(QWidget *, const QString &, const QString &) override {}
    QString openFileName(QWidget *, const QString &, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    std::optional<QFont> chooseFont(QWidget *, const QFont &, const QString &) override { return std::nullopt; }
};

// A full page of different codes, every cell through the work file.
void BM_DispDataSetFullPage(benchmark::State &state)
{
    QTemporaryDir dir;
    NoDialogs dialogs;
    auto data = std::make_unique<TitleData>();
    EditForm form(*data, dialogs, dialogs, dialogs, dir.path() + QLatin1Char('/'));
    for (int cell = 0; cell < Title::Cells; ++cell)
        data->DispData(cell, 0, 0) = quint8(cell % 251 + 1);
    for (auto _ : state)
        form.DispDataSet(0);
    state.counters["cells/s"] = benchmark::Counter(double(state.iterations()) * Title::Cells,
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DispDataSetFullPage)->Unit(benchmark::kMillisecond);

// "データ作成" as the operator presses it: draw, write the strip bitmap,
// sample, edge, redraw the 25 tiles, clear the page and place the block,
// every cell through the work file.
void BM_MakeDataThroughTheWindow(benchmark::State &state)
{
    QTemporaryDir dir;
    NoDialogs dialogs;
    auto data = std::make_unique<TitleData>();
    EditForm form(*data, dialogs, dialogs, dialogs, dir.path() + QLatin1Char('/'));
    form.ui().Text1->setText(QStringLiteral("本日のニュース ABC 123"));
    form.selectCell(33);
    for (auto _ : state)
        form.makeData();
}
BENCHMARK(BM_MakeDataThroughTheWindow)->Unit(benchmark::kMillisecond);

// Construction, which includes the load, up to the first painted frame.
void BM_EditFormToFirstPaint(benchmark::State &state)
{
    QTemporaryDir dir;
    NoDialogs dialogs;
    auto data = std::make_unique<TitleData>();
    for (auto _ : state) {
        EditForm form(*data, dialogs, dialogs, dialogs, dir.path() + QLatin1Char('/'));
        benchmark::DoNotOptimize(form.grab());
    }
}
BENCHMARK(BM_EditFormToFirstPaint)->Unit(benchmark::kMillisecond);

} // namespace
