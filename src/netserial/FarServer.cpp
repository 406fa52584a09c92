#include "FarServer.h"

#include "link/LinkEngine.h"
#include "link/LinkPlatform.h"
#include "link/LinkTimer.h"
#include "link/SerialPort.h"

#include <QJsonArray>

FarServer::FarServer(LinkPlatform &platform, const QString &farPort, Output out, Record record, Find find)
    : m_platform(platform), m_farPort(farPort), m_out(std::move(out)), m_record(std::move(record)),
      m_find(std::move(find))
{
    m_data.setDefaults();
}

FarServer::~FarServer()
{
    // The engine unhooks the port and timers it was given: it goes first.
    m_engine.reset();
}

void FarServer::start()
{
    m_out(FarProtocol::hello());
    ensureEngine();
}

void FarServer::ensureEngine()
{
    if (m_engine && !m_unloaded)
        return;
    // An engine that gave up is replaced only here, never from inside its
    // own call.
    m_engine.reset();
    m_port = m_platform.createPort();
    m_chReqTimer = m_platform.createTimer();
    m_rxTimer = m_platform.createTimer();
    m_data.ComNo = 0;
    m_engine = std::make_unique<LinkEngine>(m_data, *m_port, *m_chReqTimer, *m_rxTimer, m_platform.eventPump(),
                                            static_cast<LinkView &>(*this));
    m_port->setDevicePath(m_farPort);
    m_unloaded = false;
    m_status = {};
}

void FarServer::receive(const QByteArray &bytes)
{
    if (m_finished)
        return;
    m_reader.add(bytes);
    while (const auto request = m_reader.next())
        handle(*request);
    if (m_reader.fault() == FarProtocol::LineReader::Fault::Garbage) {
        refuse(QStringLiteral("not a request: ") + QString::fromUtf8(m_reader.refusedLine()));
        m_reader.clearFault();
    } else if (m_reader.fault() == FarProtocol::LineReader::Fault::TooLong) {
        refuse(QStringLiteral("a request longer than %1 bytes").arg(FarProtocol::MaxLine));
        inputEnded();
    }
}

void FarServer::inputEnded()
{
    if (m_finished)
        return;
    m_finished = true;
    if (m_engine && !m_unloaded)
        m_engine->abandonOperation();
}

void FarServer::refuse(const QString &why)
{
    send(QStringLiteral("refused"), {{QStringLiteral("why"), why}});
}

void FarServer::send(const QString &kind, QJsonObject fields)
{
    if (m_out)
        m_out(FarProtocol::answer(kind, std::move(fields)));
}

void FarServer::handle(const QJsonObject &request)
{
    if (m_finished)
        return;
    const QString op = request.value(QStringLiteral("op")).toString();
    if (op == QLatin1String("record")) {
        const QString id = request.value(QStringLiteral("id")).toString();
        const std::optional<TransferRecord> found = id.isEmpty() || !m_find ? std::nullopt : m_find(id);
        send(QStringLiteral("found"), {{QStringLiteral("id"), id},
                                       {QStringLiteral("record"), found ? QJsonValue(FarProtocol::recordJson(*found))
                                                                        : QJsonValue(QJsonValue::Null)}});
        return;
    }
    ensureEngine();
    if (op == QLatin1String("write")) {
        std::array<bool, Title::Channels> channels{};
        const QString id = request.value(QStringLiteral("id")).toString();
        if (id.isEmpty() || !FarProtocol::readWrite(request, m_data, channels)) {
            refuse(QStringLiteral("a write without a whole title"));
            return;
        }
        m_writeId = id;
        m_data.KakikomiCh = channels;
        m_engine->KakikomiOn();
    } else if (op == QLatin1String("poll")) {
        m_engine->SerDataSet(Request::StatusPoll);
    } else if (op == QLatin1String("select")) {
        const int channel = request.value(QStringLiteral("channel")).toInt(0);
        if (channel < 1 || channel > Title::Channels)
            return refuse(QStringLiteral("no channel 1..8"));
        m_engine->selectChannel(channel - 1);
    } else if (op == QLatin1String("move")) {
        const int direction = int(FarProtocol::directionNames().indexOf(request.value(QStringLiteral("direction")).toString()));
        if (direction < 0)
            return refuse(QStringLiteral("no direction down, up, left or right"));
        m_engine->moveOverlay(OverlayDirection(direction));
    } else if (op == QLatin1String("levels")) {
        const int black = request.value(QStringLiteral("black")).toInt(-1);
        const int white = request.value(QStringLiteral("white")).toInt(-1);
        if (black < 0 || black > 3 || white < 0 || white > 3)
            return refuse(QStringLiteral("levels are indexes 0..3"));
        m_engine->setLevels(black, white);
    } else if (op == QLatin1String("level-focus")) {
        m_engine->setLevelListFocus(request.value(QStringLiteral("on")).toBool());
    } else if (op == QLatin1String("abandon")) {
        m_engine->abandonOperation();
    } else if (op == QLatin1String("start-polling")) {
        m_engine->startPolling();
    } else if (op == QLatin1String("close-port")) {
        m_engine->closePort();
    } else {
        refuse(QStringLiteral("unknown request \"%1\"").arg(op));
    }
}

void FarServer::setMessage(const QString &text)
{
    send(QStringLiteral("message"), {{QStringLiteral("text"), text}});
}

void FarServer::setMeter(const MeterReading &meter)
{
    send(QStringLiteral("meter"), {{QStringLiteral("value"), meter.value}, {QStringLiteral("max"), meter.max}});
}

void FarServer::setChannelLit(int channel, bool lit)
{
    m_status.showChannel(channel, lit);
}

void FarServer::setVideoLoss(int input, bool lost)
{
    m_status.showVideoLoss(input, lost);
}

void FarServer::setWriteEnabled(bool enabled)
{
    send(QStringLiteral("write-enabled"), {{QStringLiteral("on"), enabled}});
}

void FarServer::focusWriteButton()
{
    send(QStringLiteral("focus-write"));
}

void FarServer::showWarning(const QString &title, const QString &text)
{
    send(QStringLiteral("warning"), {{QStringLiteral("title"), title}, {QStringLiteral("text"), text}});
}

void FarServer::unloadWindow()
{
    m_unloaded = true;
    send(QStringLiteral("unload"));
}

void FarServer::operationEnded(Request reqNo)
{
    if (reqNo == Request::StatusPoll) {
        const FarProtocol::StatusAnswer answer{m_status, m_engine ? m_engine->retryCount() : 0};
        send(QStringLiteral("status"), answer.toJson());
        m_status = {};
    }
    send(QStringLiteral("ended"), {{QStringLiteral("request"), int(reqNo)}});
}

void FarServer::bulkWriteFinished(const TransferRecord &report)
{
    TransferRecord finished = report;
    finished.id = m_writeId;
    m_writeId.clear();
    const TransferRecord logged = m_record ? m_record(finished) : finished;
    send(QStringLiteral("record"), {{QStringLiteral("record"), FarProtocol::recordJson(logged)}});
}
