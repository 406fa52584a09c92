#pragma once

#include "SiteSchedule.h"

#include "link/history/TransferRecord.h"
#include "link/history/TransferLog.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class LinkPlatform;
class TransferRecorder;
class UnitLink;

// Writes the units of a site all at once: each unit's title file from the
// site folder to its address, one link engine per unit, side by side in the
// one event loop. A unit that fails stops no other. Every write goes to
// the transfer log; with `onlyChanged` a unit is sent only the channels
// whose frames differ from its last complete write there.
class SiteWriter : public QObject
{
    Q_OBJECT

public:
    struct Result
    {
        QString unit;
        QString address;  // as the link used it
        QString file;     // the unit's title file
        bool completed = false;
        QString error;    // why not, when not completed
        std::optional<TransferRecord> report; // none when nothing was sent
        QList<int> unfinished; // channels 1..8 still to send
    };

    // The units' ports and timers come from `platform` (which outlives the
    // writer), the real ones when none is given.
    explicit SiteWriter(LinkPlatform *platform = nullptr, QObject *parent = nullptr);
    ~SiteWriter() override;

    // Where the writes are recorded, and the program named in the records;
    // the user's transfer log and "orvex-site" by default.
    void setTransferLog(const TransferLog &log, const QString &program);

    // Starts the units named in `units` (all of the schedule when empty).
    // finished() follows once every one of them has ended, also when none
    // could start. Ignored while a write runs.
    void start(const SiteSchedule &schedule, const QString &folder, const QStringList &units = {},
               bool onlyChanged = false);
    // Abandons every write in progress (each is recorded as abandoned).
    void stop();
    bool running() const { return m_running > 0; }

    // In the order of the schedule; complete once finished() came.
    const QList<Result> &results() const { return m_results; }

signals:
    // The unit's write began with `channels` (1..8); none when there was
    // nothing to send.
    void unitStarted(const QString &unit, const QList<int> &channels);
    void unitProgress(const QString &unit, int percent, const QString &message);
    void unitFinished(const SiteWriter::Result &result);
    // The transfer log could not be written (said once per unit).
    void logWarning(const QString &unit, const QString &why);
    void finished();

private:
    struct Running;
    // Decides the channels of unit `index` (from `history` for --changed)
    // and starts its write.
    void launch(int index, const TitleData &title, const std::optional<TransferLog::Contents> &history);
    void end(int index, const QString &error);
    void checkFinished();

    std::unique_ptr<LinkPlatform> m_ownPlatform;
    LinkPlatform &m_platform;
    TransferLog m_log;
    QString m_program = QStringLiteral("orvex-site");
    QList<Result> m_results;
    std::vector<std::unique_ptr<Running>> m_units;
    int m_running = 0;
    bool m_finishPending = false;
};
