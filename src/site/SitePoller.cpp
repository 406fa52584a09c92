#include "SitePoller.h"

#include "UnitLink.h"

#include "netserial/PortAddress.h"
#include "platform/QtLinkPlatform.h"

#include <QDateTime>

SitePoller::SitePoller(const SiteSchedule &schedule, LinkPlatform *platform, QObject *parent)
    : QObject(parent), m_ownPlatform(platform ? nullptr : std::make_unique<QtLinkPlatform>()), m_schedule(schedule)
{
    LinkPlatform &links = platform ? *platform : *m_ownPlatform;
    for (const SiteSchedule::Unit &scheduled : m_schedule.units) {
        Unit unit;
        unit.name = scheduled.name;
        unit.address = scheduled.address;
        const int index = int(m_units.size());
        m_units << unit;
        if (scheduled.address.isEmpty()) {
            m_links.push_back(nullptr);
            continue;
        }
        auto link = std::make_unique<UnitLink>(PortAddress::parse(scheduled.address).toString(), links);
        connect(link.get(), &UnitLink::polled, this,
                [this, index](bool answered, const QString &error) { polled(index, answered, error); });
        connect(link.get(), &UnitLink::videoChanged, this,
                [this, index](int input, bool lost) { videoChangedOn(index, input, lost); });
        m_links.push_back(std::move(link));
    }
}

SitePoller::~SitePoller() = default;

void SitePoller::start(bool repeat)
{
    m_repeat = repeat;
    m_finishPending = !repeat;
    for (int i = 0; i < int(m_units.size()); ++i) {
        Unit &unit = m_units[i];
        unit.polled = false;
        if (m_links[size_t(i)]) {
            m_links[size_t(i)]->poll(repeat);
        } else {
            unit.polled = true;
            unit.error = QStringLiteral("the schedule gives it no address");
        }
    }
    QMetaObject::invokeMethod(this, &SitePoller::checkFinished, Qt::QueuedConnection);
}

void SitePoller::stop()
{
    for (auto &link : m_links) {
        if (link)
            link->stop();
    }
}

void SitePoller::polled(int index, bool answered, const QString &error)
{
    Unit &unit = m_units[index];
    const UnitLink &link = *m_links[size_t(index)];
    unit.polled = true;
    unit.answered = answered;
    unit.error = error;
    if (answered) {
        unit.status = link.status();
        unit.resends = link.resends();
    }
    emit unitPolled(index);
    checkFinished();
}

void SitePoller::videoChangedOn(int index, int input, bool lost)
{
    const SiteSchedule::Unit &scheduled = m_schedule.units[index];
    const SiteSchedule::Camera *camera = scheduled.camera(input + 1);
    if (!camera)
        return;
    if (m_log) {
        VideoEventLog::Event event;
        event.time = QDateTime::currentDateTime();
        event.unit = scheduled.name;
        event.channel = camera->channel;
        event.title = camera->title;
        event.lost = lost;
        const QString why = m_log->append(event);
        if (!why.isEmpty() && !m_logWarned) {
            m_logWarned = true;
            emit logWarning(why);
        }
    }
    emit videoChanged(scheduled.name, camera->channel, camera->title, lost);
}

void SitePoller::checkFinished()
{
    if (!m_finishPending)
        return;
    for (const Unit &unit : m_units) {
        if (!unit.polled)
            return;
    }
    m_finishPending = false;
    emit finished();
}
