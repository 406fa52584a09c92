#include "SiteWriter.h"

#include "SiteMake.h"
#include "UnitLink.h"

#include "core/ZvxReader.h"
#include "link/history/ChangedChannels.h"
#include "link/history/TransferRecorder.h"
#include "netserial/FarWrites.h"
#include "netserial/PortAddress.h"
#include "platform/QtLinkPlatform.h"

#include <QFileInfo>

struct SiteWriter::Running
{
    std::unique_ptr<UnitLink> link;
    std::unique_ptr<TransferRecorder> recorder;
    bool recalling = false; // `link` asks a far computer about a broken write
};

SiteWriter::SiteWriter(LinkPlatform *platform, QObject *parent)
    : QObject(parent),
      m_ownPlatform(platform ? nullptr : std::make_unique<QtLinkPlatform>()),
      m_platform(platform ? *platform : *m_ownPlatform)
{
}

SiteWriter::~SiteWriter() = default;

void SiteWriter::setTransferLog(const TransferLog &log, const QString &program)
{
    m_log = log;
    m_program = program;
}

void SiteWriter::start(const SiteSchedule &schedule, const QString &folder, const QStringList &units,
                       bool onlyChanged)
{
    if (running())
        return;
    m_results.clear();
    m_units.clear();
    m_running = 0;
    m_finishPending = true;
    std::optional<TransferLog::Contents> history;
    if (onlyChanged)
        history = m_log.read();

    for (const SiteSchedule::Unit &unit : schedule.units) {
        if (!units.isEmpty() && !units.contains(unit.name))
            continue;
        const int index = int(m_results.size());
        Result result;
        result.unit = unit.name;
        result.file = QFileInfo(SiteMake::unitFile(folder, unit.name)).absoluteFilePath();
        result.address = unit.port.toString();
        m_results << result;
        m_units.push_back(std::make_unique<Running>());

        if (!unit.port.isValid()) {
            end(index, QStringLiteral("the schedule gives it no address"));
            continue;
        }
        auto title = std::make_unique<TitleData>();
        title->setDefaults();
        const ZvxReadResult read = ZvxReader::readFile(result.file, *title);
        if (!read.ok()) {
            end(index, read.message());
            continue;
        }
        if (history && history->error.isEmpty()) {
            if (const auto broken = FarWrites::unsettled(history->records, result.address)) {
                // A far write whose end was never seen here: its computer
                // says first what the unit got.
                Running &running = *m_units.back();
                running.link = std::make_unique<UnitLink>(unit.name, result.address, m_platform);
                running.recalling = true;
                ++m_running;
                std::shared_ptr<const TitleData> kept(std::move(title));
                running.link->recallWrite(
                    broken->id, [this, index, kept, broken = *broken](const std::optional<TransferRecord> &far) {
                        FarWrites::settle(m_log, broken, far);
                        // Not from inside the link's own call.
                        QMetaObject::invokeMethod(
                            this,
                            [this, index, kept] {
                                Running &unit = *m_units[size_t(index)];
                                if (!unit.recalling)
                                    return; // stopped meanwhile
                                unit.recalling = false;
                                unit.link.reset();
                                --m_running;
                                launch(index, *kept, m_log.read());
                                checkFinished();
                            },
                            Qt::QueuedConnection);
                    });
                continue;
            }
        }
        launch(index, *title, history);
    }
    // Said from the event loop, so a caller that connects and then waits hears it.
    QMetaObject::invokeMethod(this, &SiteWriter::checkFinished, Qt::QueuedConnection);
}

void SiteWriter::launch(int index, const TitleData &title, const std::optional<TransferLog::Contents> &history)
{
    const QString unitName = m_results[index].unit;
    const Result &result = m_results[index];
    std::array<bool, Title::Channels> channels;
    channels.fill(true); // the unit's whole title, as "全チャンネルデータ送信"
    if (history) {
        if (!history->error.isEmpty()) {
            end(index, QStringLiteral("--changed needs the transfer log: ") + history->error);
            return;
        }
        const auto states = ChangedChannels::compare(title, history->records, result.address);
        for (int ch = 0; ch < Title::Channels; ++ch)
            channels[size_t(ch)] = states[size_t(ch)] != ChangedChannels::State::Same;
    }
    QList<int> sending;
    for (int ch = 0; ch < Title::Channels; ++ch) {
        if (channels[size_t(ch)])
            sending << ch + 1;
    }
    emit unitStarted(unitName, sending);
    if (sending.isEmpty()) {
        m_results[index].completed = true;
        return;
    }

    Running &running = *m_units[size_t(index)];
    const QString name = unitName;
    running.recorder = std::make_unique<TransferRecorder>(m_log, m_program, [this, name](const QString &why) {
        emit logWarning(name, why);
    });
    const QString file = result.file;
    running.recorder->setTitleSource([file] { return TitleSource{file, false}; });
    running.link = std::make_unique<UnitLink>(unitName, result.address, m_platform);
    connect(running.link.get(), &UnitLink::progress, this,
            [this, name](int percent, const QString &message) { emit unitProgress(name, percent, message); });
    connect(running.link.get(), &UnitLink::writeFinished, this,
            [this, index](const TransferRecord &report, const QString &error) {
                m_units[size_t(index)]->recorder->record(report);
                m_results[index].report = report;
                end(index, error);
            });
    ++m_running;
    running.recorder->writeStarting();
    running.link->write(title, channels);
}

void SiteWriter::end(int index, const QString &error)
{
    Result &result = m_results[index];
    const bool wasRunning = m_units[size_t(index)]->link != nullptr;
    result.completed = error.isEmpty();
    result.error = error;
    if (result.report)
        result.unfinished = result.report->unfinishedChannels();
    emit unitFinished(result);
    if (wasRunning) {
        --m_running;
        // Not from inside the link's own signal.
        m_units[size_t(index)]->link.release()->deleteLater();
        checkFinished();
    }
}

void SiteWriter::checkFinished()
{
    if (m_running == 0 && m_finishPending) {
        m_finishPending = false;
        emit finished();
    }
}

void SiteWriter::stop()
{
    for (size_t i = 0; i < m_units.size(); ++i) {
        Running &running = *m_units[i];
        if (running.recalling) {
            running.recalling = false;
            end(int(i), TransferRecord::outcomeName(WriteOutcome::Abandoned));
        } else if (running.link) {
            running.link->abandon();
        }
    }
}
