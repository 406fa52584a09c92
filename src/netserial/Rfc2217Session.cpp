#include "Rfc2217Session.h"

namespace {

QByteArray bigEndian32(quint32 value)
{
    const char bytes[] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    return QByteArray(bytes, sizeof bytes);
}

quint32 fromBigEndian(const QByteArray &bytes)
{
    quint32 value = 0;
    for (const char c : bytes)
        value = (value << 8) | quint8(c);
    return value;
}

// RFC 2217 numbers: parity 1 none, 2 odd, 3 even, 4 mark, 5 space; stop
// size 1 one bit, 2 two bits; control 1 no flow control, 12 RTS off.
quint8 parityCode(char parity)
{
    switch (parity) {
    case 'O': return 2;
    case 'E': return 3;
    case 'M': return 4;
    case 'S': return 5;
    default: return 1;
    }
}

constexpr quint8 NoFlowControl = 1, HardwareFlowControl = 3, RtsOn = 11, RtsOff = 12;
constexpr int AllConfirmed = 0x1e;

} // namespace

Rfc2217Session::Rfc2217Session(const LineSettings &settings) : m_settings(settings) {}

QByteArray Rfc2217Session::start()
{
    return TelnetCodec::command(TelnetCodec::Will, Binary) + TelnetCodec::command(TelnetCodec::Do, Binary)
        + TelnetCodec::command(TelnetCodec::Will, SuppressGoAhead)
        + TelnetCodec::command(TelnetCodec::Do, SuppressGoAhead) + TelnetCodec::command(TelnetCodec::Will, ComPort);
}

bool Rfc2217Session::ready() const
{
    return m_failure.isEmpty() && m_weBinary && m_theyBinary && m_weComPort && m_confirmed == AllConfirmed;
}

void Rfc2217Session::fail(const QString &why)
{
    if (m_failure.isEmpty())
        m_failure = why;
}

Rfc2217Session::Received Rfc2217Session::receive(const QByteArray &bytes)
{
    Received out;
    const TelnetCodec::Decoded decoded = m_codec.decode(bytes);
    out.data = decoded.data;
    for (const TelnetCodec::Command &command : decoded.commands)
        out.reply += onCommand(command);
    for (const TelnetCodec::Subnegotiation &sb : decoded.subnegotiations) {
        if (sb.option == ComPort)
            onComPort(sb.payload, out);
    }
    return out;
}

// Answers only when the option's state changes, so two sides that both
// answer every request cannot loop.
QByteArray Rfc2217Session::onCommand(const TelnetCodec::Command &command)
{
    const quint8 option = command.option;
    switch (command.verb) {
    case TelnetCodec::Do: {
        bool *we = option == Binary ? &m_weBinary : option == SuppressGoAhead ? &m_weSga
                                               : option == ComPort          ? &m_weComPort
                                                                            : nullptr;
        if (!we)
            return TelnetCodec::command(TelnetCodec::Wont, option);
        // Our WILL went out first, so DO is its answer: nothing to say back.
        *we = true;
        if (option == ComPort && !m_settingsSent) {
            m_settingsSent = true;
            return settingsRequest();
        }
        return {};
    }
    case TelnetCodec::Dont:
        if (option == Binary)
            fail(QStringLiteral("the server refuses binary transfer"));
        else if (option == ComPort)
            fail(QStringLiteral("the server offers no RFC 2217 port control"));
        return {};
    case TelnetCodec::Will:
        if (option == Binary)
            m_theyBinary = true;
        else if (option == SuppressGoAhead)
            m_theySga = true;
        else
            return TelnetCodec::command(TelnetCodec::Dont, option); // an echo would corrupt replies
        return {};
    case TelnetCodec::Wont:
        if (option == Binary)
            fail(QStringLiteral("the server refuses binary transfer"));
        return {};
    default: return {};
    }
}

QByteArray Rfc2217Session::settingsRequest() const
{
    const auto sb = [](quint8 command, const QByteArray &value) {
        return TelnetCodec::subnegotiation(ComPort, char(command) + value);
    };
    return sb(SetBaudRate, bigEndian32(quint32(m_settings.baud)))
        + sb(SetDataSize, QByteArray(1, char(m_settings.dataBits)))
        + sb(SetParity, QByteArray(1, char(parityCode(m_settings.parity))))
        + sb(SetStopSize, QByteArray(1, char(m_settings.stopBits == 2 ? 2 : 1)))
        + sb(SetControl, QByteArray(1, char(m_settings.flowControl ? HardwareFlowControl : NoFlowControl)))
        + sb(SetControl, QByteArray(1, char(m_settings.rts ? RtsOn : RtsOff)))
        // Only the line errors are of interest, not the modem lines.
        + sb(SetLineStateMask, QByteArray(1, char(BreakBit | FramingBit | ParityBit | OverrunBit)))
        + sb(SetModemStateMask, QByteArray(1, char(0)));
}

void Rfc2217Session::onComPort(const QByteArray &payload, Received &out)
{
    if (payload.isEmpty())
        return;
    const int command = quint8(payload[0]) - ServerOffset;
    const QByteArray value = payload.mid(1);
    const auto confirm = [&](quint32 wanted, const char *what) {
        // The server answers with the value the port now has: anything
        // else than asked means the line would run at the wrong setting.
        const quint32 got = fromBigEndian(value);
        if (got != wanted)
            fail(QStringLiteral("the server set %1 %2 instead of %3").arg(got).arg(QLatin1String(what)).arg(wanted));
        m_confirmed |= 1 << command;
    };
    switch (command) {
    case SetBaudRate: confirm(quint32(m_settings.baud), "baud"); break;
    case SetDataSize: confirm(quint32(m_settings.dataBits), "data bits"); break;
    case SetParity: confirm(parityCode(m_settings.parity), "parity"); break;
    case SetStopSize: confirm(m_settings.stopBits == 2 ? 2 : 1, "stop bits"); break;
    case NotifyLineState:
        if (!value.isEmpty())
            out.events += lineErrors(quint8(value[0]));
        break;
    default: break;
    }
}

QList<CommEvent> Rfc2217Session::lineErrors(quint8 state)
{
    QList<CommEvent> events;
    if (state & BreakBit)
        events << CommEvent::Break;
    if (state & FramingBit)
        events << CommEvent::Framing;
    if (state & ParityBit)
        events << CommEvent::ReceiveParity;
    if (state & OverrunBit)
        events << CommEvent::Overrun;
    return events;
}
