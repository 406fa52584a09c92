#include "editor/EditForm.h"
#include "editor/MonitorWindow.h"

#include "platform/FileDialogs.h"
#include "platform/FontDialogs.h"
#include "platform/MessageBoxes.h"
#include "support/FullTitle.h"

#include <QImage>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

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

// The stills chosen here are remembered in settings of the benchmark's own.
bool settingsIsolated()
{
    static QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    return true;
}

// The editor on a full title with its monitor window open.
struct Rig
{
    Rig() : isolated(settingsIsolated()), data(fullTitle()), form(*data, dialogs, dialogs, dialogs, dir.path() + QLatin1Char('/'))
    {
        form.showMonitors();
        form.monitorWindow()->redrawChanged();
    }

    bool isolated;
    QTemporaryDir dir;
    NoDialogs dialogs;
    std::unique_ptr<TitleData> data;
    EditForm form;
};

// What the operator waits for after "データ作成": the one monitor it changed
// redrawn. The rendering itself is not timed.
void BM_MonitorRedrawAfterMakeData(benchmark::State &state)
{
    Rig rig;
    if (state.range(0) != 0) {
        QImage still(640, 480, QImage::Format_RGB32);
        still.fill(Qt::darkGreen);
        const QString file = rig.dir.filePath(QStringLiteral("still.png"));
        still.save(file);
        rig.form.monitorWindow()->setStill(rig.data->ChNo, file);
        rig.form.monitorWindow()->redrawChanged();
    }
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        rig.form.selectCell(n++ % 5);
        rig.form.makeData();
        state.ResumeTiming();
        rig.form.monitorWindow()->redrawChanged();
    }
}
BENCHMARK(BM_MonitorRedrawAfterMakeData)->Arg(0)->Arg(1)->ArgName("still")->Unit(benchmark::kMillisecond);

// "全チャンネル作成" of eight texts, the step and the views included.
void BM_MakeAllChannels(benchmark::State &state)
{
    Rig rig;
    std::array<QString, Title::Channels> texts;
    for (int ch = 0; ch < Title::Channels; ++ch)
        texts[size_t(ch)] = QStringLiteral("カメラ %1 正面玄関").arg(ch + 1);
    const QFont font = rig.form.ui().Text1->font();
    for (auto _ : state) {
        rig.form.document().makeAllChannels(texts, font, true);
        rig.form.monitorWindow()->redrawChanged();
    }
}
BENCHMARK(BM_MakeAllChannels)->Unit(benchmark::kMillisecond);

} // namespace
