#pragma once

#include "SiteSchedule.h"
#include "VideoEventLog.h"

#include "link/UnitStatus.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class LinkPlatform;
class UnitLink;

// Polls every unit of a site at once, each on its own port: once, or every
// 2 s as the communication window does. Each change of a scheduled camera's
// video (and video first seen lost) is appended to the video-events log.
class SitePoller : public QObject
{
    Q_OBJECT

public:
    struct Unit
    {
        QString name;
        QString address;    // as the sheet gives it
        bool polled = false; // a poll of it has ended (or it has no address)
        bool answered = false;
        QString error;      // why it did not answer
        UnitStatus status;  // what its last answered poll showed
        int resends = 0;    // questions asked again during that poll
    };

    // The units' ports and timers come from `platform` (which outlives the
    // poller), the real ones when none is given.
    explicit SitePoller(const SiteSchedule &schedule, LinkPlatform *platform = nullptr, QObject *parent = nullptr);
    ~SitePoller() override;

    // Where video events go; none by default.
    void setEventLog(const std::optional<VideoEventLog> &log) { m_log = log; }

    // Polls every unit once (finished() when all have ended), or every 2 s
    // until stop(). A unit's port takes one link at a time: stop() before a
    // SiteWriter writes the same units, start again after its finished().
    void start(bool repeat);
    void stop();

    const QList<Unit> &units() const { return m_units; }
    const SiteSchedule &schedule() const { return m_schedule; }

signals:
    void unitPolled(int index);
    // A scheduled camera's video came or went; channel 1..8.
    void videoChanged(const QString &unit, int channel, const QString &title, bool lost);
    // The video-events log could not be written (said once).
    void logWarning(const QString &why);
    void finished();

private:
    void polled(int index, bool answered, const QString &error);
    void videoChangedOn(int index, int input, bool lost);
    void checkFinished();

    std::unique_ptr<LinkPlatform> m_ownPlatform;
    SiteSchedule m_schedule;
    QList<Unit> m_units;
    std::vector<std::unique_ptr<UnitLink>> m_links; // none for a unit without an address
    std::optional<VideoEventLog> m_log;
    bool m_logWarned = false;
    bool m_repeat = false;
    bool m_finishPending = false;
};
