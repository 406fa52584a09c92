#include "editor/EditForm.h"

#include "core/ZvxWriter.h"
#include "platform/FileDialogs.h"
#include "platform/FontDialogs.h"
#include "platform/MessageBoxes.h"
#include "support/FullTitle.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The benchmarks never show a dialog; the open dialog "chooses" openName.
struct NoDialogs : MessageBoxes, FileDialogs, FontDialogs
{
    void warning(QWidget *, const QString &, const QString &) override {}
    SaveChoice askSave(QWidget *, const QString &, const QString &) override { return SaveChoice::Cancel; }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &, const QString &) override
    {
        return openName;
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    std::optional<QFont> chooseFont(QWidget *, const QFont &, const QString &) override { return std::nullopt; }

    QString openName;
};

// An editor window on a full title, its work files in a folder of its own.
struct Rig
{
    Rig() : data(fullTitle()), form(*data, dialogs, dialogs, dialogs, dir.path() + QLatin1Char('/')) {}

    QTemporaryDir dir;
    NoDialogs dialogs;
    std::unique_ptr<TitleData> data;
    EditForm form;
};

// A full page of different codes.
void BM_DispDataSetFullPage(benchmark::State &state)
{
    Rig rig;
    for (int cell = 0; cell < Title::Cells; ++cell)
        rig.data->DispData(cell, 0, 0) = quint8(cell % 251 + 1);
    for (auto _ : state)
        rig.form.DispDataSet(0);
    state.counters["cells/s"] = benchmark::Counter(double(state.iterations()) * Title::Cells,
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DispDataSetFullPage)->Unit(benchmark::kMillisecond);

// A pick in the channel list: the page, the block and its text.
void BM_ChannelChangeThroughTheSelector(benchmark::State &state)
{
    Rig rig;
    int channel = 0;
    for (auto _ : state) {
        channel = (channel + 1) % Title::Channels;
        rig.form.selectChannel(channel);
    }
}
BENCHMARK(BM_ChannelChangeThroughTheSelector)->Unit(benchmark::kMillisecond);

// "開く(&O)" on a full title: read, redraw the 256 tiles and the page.
void BM_OpenFullTitleThroughTheWindow(benchmark::State &state)
{
    Rig rig;
    rig.dialogs.openName = rig.dir.filePath(QStringLiteral("full.zvx"));
    if (!ZvxWriter::writeFile(rig.dialogs.openName, *fullTitle()).ok) {
        state.SkipWithError("could not write the title");
        return;
    }
    for (auto _ : state)
        rig.form.openFile();
}
BENCHMARK(BM_OpenFullTitleThroughTheWindow)->Unit(benchmark::kMillisecond);

// "データ作成" as the operator presses it: draw, write the strip bitmap,
// sample, edge, redraw the 25 tiles, clear the page and place the block.
void BM_MakeDataThroughTheWindow(benchmark::State &state)
{
    Rig rig;
    rig.form.ui().Text1->setText(QStringLiteral("本日のニュース ABC 123"));
    rig.form.selectCell(33);
    for (auto _ : state)
        rig.form.makeData();
}
BENCHMARK(BM_MakeDataThroughTheWindow)->Unit(benchmark::kMillisecond);

// "元に戻す" and "やり直し" of one "データ作成": the block's patterns, its text
// and the page put back, with the tiles and cells that show them.
void BM_UndoRedoMakeData(benchmark::State &state)
{
    Rig rig;
    rig.form.ui().Text1->setText(QStringLiteral("本日のニュース ABC 123"));
    rig.form.selectCell(33);
    rig.form.makeData();
    for (auto _ : state) {
        rig.form.document().undoStack().undo();
        rig.form.document().undoStack().redo();
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
