#include "UnitLink.h"

#include "link/history/ChannelFrames.h"
#include "link/LinkEngine.h"
#include "link/LinkMessages.h"
#include "netserial/DeviceLinks.h"
#include "link/LinkPlatform.h"
#include "link/LinkTimer.h"
#include "link/SerialPort.h"

#include <algorithm>

UnitLink::UnitLink(const QString &unit, const QString &address, LinkPlatform &platform, QObject *parent)
    : QObject(parent), m_unit(unit), m_address(address), m_data(std::make_unique<TitleData>()), m_platform(platform),
      m_retryTimer(platform.createTimer())
{
    m_data->setDefaults();
    m_retryTimer->setTickHandler([this] { retry(); });
}

UnitLink::~UnitLink()
{
    // The engine unhooks the port and timers it was given: it goes first.
    m_engine.reset();
}

void UnitLink::startEngine()
{
    m_engine.reset();
    m_port = m_platform.createPort();
    m_chReqTimer = m_platform.createTimer();
    m_rxTimer = m_platform.createTimer();
    // The unit is named by its address, never by one of the eight numbers.
    m_engine = DeviceLinks::make(*m_data, m_address, m_platform, *m_port, *m_chReqTimer, *m_rxTimer,
                                 m_platform.eventPump(), static_cast<LinkView &>(*this));
    ++m_generation;
    m_failed = false;
    m_finishQueued = false;
    m_warning.clear();
    m_warningText.clear();
}

void UnitLink::write(const TitleData &title, const std::array<bool, Title::Channels> &channels)
{
    stop();
    *m_data = title;
    m_data->KakikomiCh = channels;
    m_totalFrames = ChannelFrames::PerChannel * int(std::count(channels.begin(), channels.end(), true));
    m_framesSent = 0;
    m_report.reset();
    m_operation = Operation::Write;
    startEngine();
    m_engine->KakikomiOn();
}

void UnitLink::recallWrite(const QString &id, std::function<void(const std::optional<TransferRecord> &)> answer)
{
    stop();
    startEngine();
    m_engine->recallWrite(id, std::move(answer));
}

void UnitLink::poll(bool repeat)
{
    stop();
    m_operation = repeat ? Operation::Polling : Operation::Poll;
    m_reconnectDelay.reset();
    startPoll();
}

void UnitLink::startPoll()
{
    m_next = UnitStatus();
    startEngine();
    m_engine->SerDataSet(Request::StatusPoll);
}

void UnitLink::abandon()
{
    if (m_operation != Operation::Write) {
        stop();
        return;
    }
    if (m_engine)
        m_engine->abandonOperation();
    // Ended now rather than from the event loop: a window closing or a
    // program quitting mid-write still records the write as abandoned.
    if (m_finishQueued)
        finish();
}

void UnitLink::stop()
{
    m_operation = Operation::None;
    m_retryTimer->setEnabled(false);
    if (m_engine)
        m_engine->abandonOperation();
    m_engine.reset();
}

void UnitLink::queueFinish()
{
    m_finishQueued = true;
    // A finish queued for an engine since replaced must not end the new one's operation.
    QMetaObject::invokeMethod(
        this,
        [this, generation = m_generation] {
            if (generation == m_generation)
                finish();
        },
        Qt::QueuedConnection);
}

void UnitLink::finish()
{
    m_finishQueued = false;
    const Operation operation = m_operation;
    if (operation == Operation::None)
        return;
    if (operation == Operation::Write) {
        m_operation = Operation::None;
        m_engine.reset();
        TransferRecord report = m_report.value_or(TransferRecord());
        QString error = m_warning;
        if (report.outcome != WriteOutcome::Done && error.isEmpty())
            error = TransferRecord::outcomeName(report.outcome);
        emit writeFinished(report, report.outcome == WriteOutcome::Done ? QString() : error);
        return;
    }

    const bool answered = !m_failed;
    if (answered && !m_next.videoLossKnown && m_status.videoLossKnown) {
        // A poll that did not learn the video (its reply lost or garbled)
        // is no news of it: a camera lost is not "lost again" at the next.
        m_next.videoLoss = m_status.videoLoss;
        m_next.videoLossKnown = true;
    }
    if (answered) {
        for (int input = 0; input < int(m_next.videoLoss.size()); ++input) {
            const bool lost = m_next.videoLoss[size_t(input)];
            const bool was = m_status.videoLossKnown && m_status.videoLoss[size_t(input)];
            const bool changed = m_next.videoLossKnown && (m_status.videoLossKnown ? lost != was : lost);
            if (changed)
                emit videoChanged(input, lost);
        }
        m_status = m_next;
        m_resends = m_engine ? m_engine->retryCount() : 0;
        m_lostMessage.clear();
        m_reconnectDelay.reset();
    }
    m_next = UnitStatus();
    const QString error = m_warning;
    if (operation == Operation::Poll || m_failed) {
        if (operation == Operation::Poll)
            m_operation = Operation::None;
        m_engine.reset();
    }
    if (operation == Operation::Polling && m_failed) {
        // Asked again on a fresh engine (its retries spent), soon at first:
        // a device server restarting is back in a moment.
        if (m_lostMessage.isEmpty())
            m_lostMessage = LinkMessages::unitLost(m_unit, m_warningText);
        m_retryTimer->setInterval(m_reconnectDelay.next());
        m_retryTimer->setEnabled(true);
    }
    emit polled(answered, error);
}

void UnitLink::retry()
{
    m_retryTimer->setEnabled(false);
    if (m_operation == Operation::Polling && !m_engine)
        startPoll();
}

void UnitLink::setMessage(const QString &text)
{
    if (m_operation != Operation::Write || text == m_message)
        return;
    m_message = text;
    emit progress(m_totalFrames > 0 ? std::min(100, m_framesSent * 100 / m_totalFrames) : 0, m_message);
}

void UnitLink::setMeter(const MeterReading &)
{
    if (m_operation != Operation::Write)
        return;
    ++m_framesSent;
    emit progress(m_totalFrames > 0 ? std::min(100, m_framesSent * 100 / m_totalFrames) : 0, m_message);
}

void UnitLink::showWarning(const QString &title, const QString &text)
{
    QString flat = text;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "));
    m_warning = title + QStringLiteral(": ") + flat;
    m_warningText = text;
}

// The engine calls the three below from inside itself: what they end runs
// once it has returned.
void UnitLink::unloadWindow()
{
    m_failed = true;
    if (!m_finishQueued) {
        queueFinish();
    }
}

void UnitLink::operationEnded(Request reqNo)
{
    const bool ours = (reqNo == Request::BulkWrite && m_operation == Operation::Write)
                      || (reqNo == Request::StatusPoll && m_operation != Operation::Write);
    if (ours && !m_finishQueued) {
        queueFinish();
    }
}

void UnitLink::bulkWriteFinished(const TransferRecord &report)
{
    m_report = report;
    // A refused or abandoned write ends without operationEnded or unloadWindow.
    if (m_operation == Operation::Write && !m_finishQueued) {
        queueFinish();
    }
}
