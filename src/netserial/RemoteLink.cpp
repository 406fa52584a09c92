#include "RemoteLink.h"

#include "FarWords.h"
#include "PortAddress.h"

#include "core/TitleData.h"
#include "link/FarChannel.h"
#include "link/LinkTimer.h"
#include "link/LinkMessages.h"
#include "link/LinkView.h"
#include "link/UnsendableCodes.h"

#include <QJsonDocument>
#include <QUuid>

RemoteLink::RemoteLink(TitleData &data, std::unique_ptr<FarChannel> channel, const QString &address, LinkView &view,
                       LinkTimer *helloTimer)
    : m_data(data), m_channel(std::move(channel)), m_address(address), m_view(view), m_helloTimer(helloTimer)
{
    if (m_channel)
        m_channel->setEventHandler([this](FarChannel::Event event) { onChannelEvent(int(event)); });
    if (m_helloTimer) {
        m_helloTimer->setEnabled(false);
        m_helloTimer->setInterval(HelloTimeout);
        m_helloTimer->setTickHandler([this] {
            m_helloTimer->setEnabled(false);
            if (!m_greeted)
                fail(FarWords::noHello(host()));
        });
    }
}

RemoteLink::~RemoteLink()
{
    if (m_helloTimer) {
        m_helloTimer->setEnabled(false);
        m_helloTimer->setTickHandler({});
    }
    if (m_channel) {
        m_channel->setEventHandler({});
        m_channel->close();
    }
}

QString RemoteLink::host() const
{
    const PortAddress address = PortAddress::parse(m_address);
    return address.isValid() ? address.host : m_address;
}

void RemoteLink::send(const QByteArray &line)
{
    if (m_failed)
        return;
    if (!m_channel) {
        fail(FarWords::startFailed(host(), -1, QString()));
        return;
    }
    if (!m_started) {
        m_started = true;
        if (m_helloTimer)
            m_helloTimer->setEnabled(true);
        m_channel->start(m_address);
        if (m_failed)
            return;
    }
    // Sent at once, before the hello: the pipe holds it until the far side
    // reads, which spares a round trip.
    m_channel->write(line);
}

void RemoteLink::SerDataSet(Request code)
{
    if (code != Request::StatusPoll)
        return; // every other operation has its own request
    m_polling = true;
    send(FarProtocol::request(QStringLiteral("poll")));
}

void RemoteLink::KakikomiOn()
{
    m_asked = m_data.KakikomiCh;
    if (const auto cell = UnsendableCodes::first(m_data)) {
        // Refused here as the engine would refuse it, before anything goes.
        TransferRecord refused;
        refused.port = m_address;
        refused.asked = m_asked;
        refused.outcome = WriteOutcome::Refused;
        m_lastWrite = refused;
        m_view.bulkWriteFinished(refused);
        m_view.showWarning(LinkMessages::errorTitle(), LinkMessages::unsendableCode(cell->channel + 1, cell->row + 1,
                                                                                    cell->column + 1, cell->code));
        return;
    }
    m_writeId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_writing = true;
    m_view.setWriteEnabled(false);
    send(FarProtocol::writeRequest(m_writeId, m_data, m_asked));
}

void RemoteLink::selectChannel(int channel)
{
    send(FarProtocol::request(QStringLiteral("select"), {{QStringLiteral("channel"), channel + 1}}));
}

void RemoteLink::moveOverlay(OverlayDirection direction)
{
    send(FarProtocol::request(QStringLiteral("move"), {{QStringLiteral("direction"), FarProtocol::directionNames()[int(direction)]}}));
}

void RemoteLink::setLevels(int black, int white)
{
    if (m_showingStatus)
        return;
    send(FarProtocol::request(QStringLiteral("levels"), {{QStringLiteral("black"), black}, {QStringLiteral("white"), white}}));
}

void RemoteLink::setLevelListFocus(bool focused)
{
    m_levelFocus = focused;
    send(FarProtocol::request(QStringLiteral("level-focus"), {{QStringLiteral("on"), focused}}));
}

void RemoteLink::abandonOperation()
{
    m_polling = false;
    if (!m_started || m_failed)
        return;
    send(FarProtocol::request(QStringLiteral("abandon")));
    // The far engine's record of it comes too late for a program that is
    // stopping: what it did is asked for next time.
    if (m_writing)
        endWriteUnknown(WriteOutcome::Abandoned);
}

void RemoteLink::startPolling()
{
    send(FarProtocol::request(QStringLiteral("start-polling")));
}

bool RemoteLink::portOpen() const
{
    return m_channel && m_channel->isRunning();
}

void RemoteLink::closePort()
{
    if (m_started && !m_failed)
        send(FarProtocol::request(QStringLiteral("close-port")));
}

void RemoteLink::setPortAddress(const QString &address)
{
    if (address == m_address)
        return;
    // Another far computer or port: a new session at the next request.
    if (m_channel && m_started)
        m_channel->close();
    m_address = address;
    m_started = m_greeted = m_failed = false;
    m_reader = FarProtocol::LineReader();
}

void RemoteLink::recallWrite(const QString &id, RecallAnswer answer)
{
    if (m_failed) {
        answer(std::nullopt);
        return;
    }
    m_recalls.insert(id, std::move(answer));
    send(FarProtocol::request(QStringLiteral("record"), {{QStringLiteral("id"), id}}));
}

void RemoteLink::onChannelEvent(int event)
{
    if (m_failed)
        return;
    if (FarChannel::Event(event) == FarChannel::Event::DataReceived) {
        m_reader.add(m_channel->readAll());
        while (!m_failed) {
            const auto message = m_reader.next();
            if (m_reader.fault() == FarProtocol::LineReader::Fault::Garbage && !m_greeted
                && m_beforeHello.size() < MaxLinesBeforeHello) {
                // What a far shell's startup files or a program that is no
                // far side of ours print: kept for the reason it ends with.
                m_beforeHello << QString::fromUtf8(m_reader.refusedLine());
                m_reader.clearFault();
            }
            if (m_reader.fault() != FarProtocol::LineReader::Fault::None) {
                fail(FarWords::notUnderstood(QString::fromUtf8(m_reader.refusedLine())));
                return;
            }
            if (!message)
                break;
            handle(*message);
        }
        return;
    }
    QString said = m_channel->diagnostics();
    if (!m_beforeHello.isEmpty())
        said = m_beforeHello.join(u'\n') + u'\n' + said;
    if (!m_greeted)
        fail(FarWords::startFailed(host(), m_channel->exitCode(), said));
    else
        fail(m_writing ? FarWords::lostDuringWrite() : FarWords::lost(said));
}

void RemoteLink::handle(const QJsonObject &message)
{
    if (!m_greeted) {
        const std::optional<int> version = FarProtocol::helloVersion(message);
        if (!version) {
            fail(FarWords::notUnderstood(QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact))));
            return;
        }
        if (*version != FarProtocol::Version) {
            fail(FarWords::wrongVersion(*version, FarProtocol::Version));
            return;
        }
        m_greeted = true;
        if (m_helloTimer)
            m_helloTimer->setEnabled(false);
        return;
    }
    const QString kind = message.value(QStringLiteral("answer")).toString();
    if (kind == QLatin1String("message")) {
        m_view.setMessage(message.value(QStringLiteral("text")).toString());
    } else if (kind == QLatin1String("meter")) {
        m_view.setMeter(MeterReading{message.value(QStringLiteral("value")).toInt(), message.value(QStringLiteral("max")).toInt()});
    } else if (kind == QLatin1String("status")) {
        showStatus(FarProtocol::StatusAnswer::fromJson(message));
    } else if (kind == QLatin1String("write-enabled")) {
        m_view.setWriteEnabled(message.value(QStringLiteral("on")).toBool());
    } else if (kind == QLatin1String("focus-write")) {
        m_view.focusWriteButton();
    } else if (kind == QLatin1String("warning")) {
        m_view.showWarning(message.value(QStringLiteral("title")).toString(), message.value(QStringLiteral("text")).toString());
    } else if (kind == QLatin1String("unload")) {
        // The far engine gave up (its warning came first); a write has its
        // record already.
        m_failed = true;
        m_writing = m_polling = false;
        m_view.unloadWindow();
    } else if (kind == QLatin1String("ended")) {
        const Request request = Request(message.value(QStringLiteral("request")).toInt());
        if (request == Request::StatusPoll)
            m_polling = false;
        m_view.operationEnded(request);
    } else if (kind == QLatin1String("record")) {
        std::optional<TransferRecord> record = FarProtocol::recordFromJson(message.value(QStringLiteral("record")));
        if (!record) {
            fail(FarWords::notUnderstood(QStringLiteral("record")));
            return;
        }
        if (!m_writing || record->id != m_writeId)
            return; // a write given up here already: asked for next time
        // The far engine's own account, named by this computer's address.
        record->port = m_address;
        m_writing = false;
        m_lastWrite = *record;
        m_view.bulkWriteFinished(*record);
    } else if (kind == QLatin1String("found")) {
        const RecallAnswer answer = m_recalls.take(message.value(QStringLiteral("id")).toString());
        if (answer) {
            std::optional<TransferRecord> record = FarProtocol::recordFromJson(message.value(QStringLiteral("record")));
            if (record)
                record->port = m_address;
            answer(record);
        }
    } else if (kind == QLatin1String("refused")) {
        fail(FarWords::refused(message.value(QStringLiteral("why")).toString()));
    }
    // Answers of a later version that this one does not know are left alone.
}

void RemoteLink::showStatus(const FarProtocol::StatusAnswer &answer)
{
    const UnitStatus &status = answer.status;
    m_showingStatus = true;
    if (status.channel >= 0) {
        for (int ch = 0; ch < Title::Channels; ++ch)
            if (ch != status.channel)
                m_view.setChannelLit(ch, false);
        m_view.setChannelLit(status.channel, true);
    }
    if (status.hpos)
        m_view.setHorizontalPosition(*status.hpos);
    if (status.vpos)
        m_view.setVerticalPosition(*status.vpos);
    if (status.black >= 0)
        m_view.setBlackLevel(status.black);
    if (status.white >= 0)
        m_view.setWhiteLevel(status.white);
    if (status.videoLossKnown)
        for (int input = 0; input < 8; ++input)
            m_view.setVideoLoss(input, status.videoLoss[size_t(input)]);
    for (Cmd kind : status.garbled)
        m_view.replyGarbled(kind);
    m_resends = answer.resends;
    m_showingStatus = false;
}

void RemoteLink::endWriteUnknown(WriteOutcome outcome)
{
    if (!m_writing)
        return;
    m_writing = false;
    TransferRecord record;
    record.port = m_address;
    record.asked = m_asked;
    record.outcome = outcome;
    record.id = m_writeId;
    m_lastWrite = record;
    m_view.bulkWriteFinished(record);
}

void RemoteLink::fail(const QString &why, WriteOutcome outcome)
{
    if (m_failed)
        return;
    m_failed = true;
    m_polling = false;
    if (m_helloTimer)
        m_helloTimer->setEnabled(false);
    if (m_channel)
        m_channel->close();
    for (const RecallAnswer &answer : std::as_const(m_recalls))
        answer(std::nullopt);
    m_recalls.clear();
    endWriteUnknown(outcome);
    m_view.showWarning(LinkMessages::errorTitle(), why);
    m_view.setWriteEnabled(true);
    m_view.unloadWindow();
}
