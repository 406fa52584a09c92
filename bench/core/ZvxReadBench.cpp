// The reader against inputs far larger than any data file: time, and the
// peak memory of a child process that does nothing but the read.

#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr qint64 HugeBytes = 200LL * 1024 * 1024;

// Writes `total` bytes made by `fill` chunk by chunk, so the benchmark
// itself never holds the file.
template <typename Fill>
void writeHuge(const QString &name, Fill fill)
{
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        return;
    QByteArray chunk(1024 * 1024, '\0');
    for (qint64 done = 0; done < HugeBytes; done += chunk.size()) {
        fill(chunk);
        file.write(chunk);
    }
}

class Inputs
{
public:
    static Inputs &get()
    {
        static Inputs inputs;
        return inputs;
    }
    QString garbage() const { return m_dir.filePath(QStringLiteral("garbage.zvx")); }
    QString singleField() const { return m_dir.filePath(QStringLiteral("field.zvx")); }
    QString normal() const { return m_dir.filePath(QStringLiteral("normal.zvx")); }

private:
    Inputs()
    {
        QRandomGenerator random(7);
        writeHuge(garbage(), [&](QByteArray &chunk) {
            random.fillRange(reinterpret_cast<quint32 *>(chunk.data()), chunk.size() / 4);
        });
        writeHuge(singleField(), [](QByteArray &chunk) { chunk.fill('7'); });
        TitleData data;
        data.setDefaults();
        for (auto &text : data.ChText)
            text = QStringLiteral("本日の ニュース, 天気");
        ZvxWriter::writeFile(normal(), data);
    }
    QTemporaryDir m_dir;
};

// The maximum resident set of a child that reads `name` once, in MB.
double childPeakMb(const QString &name)
{
    const pid_t pid = fork();
    if (pid == 0) {
        TitleData data;
        data.setDefaults();
        ZvxReader::readFile(name, data);
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return usage.ru_maxrss / 1024.0;
}

// The resident set of this process now, in MB: what a child starts with.
double ownRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void readOnce(benchmark::State &state, const QString &name)
{
    auto data = std::make_unique<TitleData>();
    data->setDefaults();
    QString error;
    for (auto _ : state) {
        const ZvxReadResult result = ZvxReader::readFile(name, *data);
        benchmark::DoNotOptimize(result.error);
        error = result.ok() ? QStringLiteral("ok") : result.message().section(u'\n', 0, 0);
    }
    state.counters["file_MB"] = QFile(name).size() / (1024.0 * 1024.0);
    state.counters["parent_MB"] = ownRssMb();
    state.counters["child_peak_MB"] = childPeakMb(name);
    state.SetLabel(error.left(60).toStdString());
}

void BM_ReadGarbage200MB(benchmark::State &state)
{
    readOnce(state, Inputs::get().garbage());
}
BENCHMARK(BM_ReadGarbage200MB)->Unit(benchmark::kMillisecond);

void BM_ReadSingleField200MB(benchmark::State &state)
{
    readOnce(state, Inputs::get().singleField());
}
BENCHMARK(BM_ReadSingleField200MB)->Unit(benchmark::kMillisecond);

void BM_ReadNormalFile(benchmark::State &state)
{
    readOnce(state, Inputs::get().normal());
}
BENCHMARK(BM_ReadNormalFile)->Unit(benchmark::kMillisecond);

} // namespace
