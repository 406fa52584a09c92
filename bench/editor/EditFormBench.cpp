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
    SaveChoice askSave(QWidget *, const QString &, const QString &) override { return SaveChoice::Cancel; }
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

// A window with the line of text and the selected cell of the rendering
// benchmarks.
struct RenderingWindow
{
    RenderingWindow()
    {
        form.ui().Text1->setText(QStringLiteral("本日のニュース ABC 123"));
        form.selectCell(33);
    }

    QTemporaryDir dir;
    NoDialogs dialogs;
    std::unique_ptr<TitleData> data = std::make_unique<TitleData>();
    EditForm form{*data, dialogs, dialogs, dialogs, dir.path() + QLatin1Char('/')};
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
    RenderingWindow window;
    for (auto _ : state)
        window.form.makeData();
}
BENCHMARK(BM_MakeDataThroughTheWindow)->Unit(benchmark::kMillisecond);

// "元に戻す" and "やり直し" of one "データ作成": the block's patterns, its text
// and the page put back, with the tiles and cells that show them.
void BM_UndoRedoMakeData(benchmark::State &state)
{
    RenderingWindow window;
    window.form.makeData();
    for (auto _ : state) {
        window.form.undoStack().undo();
        window.form.undoStack().redo();
    }
}
BENCHMARK(BM_UndoRedoMakeData)->Unit(benchmark::kMillisecond);

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
