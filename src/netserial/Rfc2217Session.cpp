#include "Rfc2217Session.h"

#include <algorithm>

namespace {

using Item = TelnetCodec::Item;

QByteArray bigEndian32(quint32 value)
{
    const char bytes[] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    return QByteArray(bytes, sizeof bytes);
}

// RFC 2217 numbers: parity 1 none, 2 odd, 3 even, 4 mark, 5 space; stop
// size 1 one bit, 2 two bits, 3 one and a half.
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

// An answer whose value has not the length its command gives it.
constexpr quint32 Unreadable = 0xffffffffu;

QString unknownValue()
{
    return QStringLiteral("不明な値");
}

QString pick(quint32 code, std::initializer_list<const char *> words)
{
    // words[i] names code i + 1, as RFC 2217 counts from one.
    if (code < 1 || code > words.size())
        return unknownValue();
    return QString::fromUtf8(words.begin()[code - 1]);
}

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
    return m_failure.isEmpty() && m_weBinary && m_theyBinary && m_weComPort && m_settingsSent && m_pending.isEmpty();
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
    for (const Item &item : decoded.items) {
        switch (item.kind) {
        case Item::Kind::Data: out.data += item.bytes; break;
        case Item::Kind::Command: out.reply += onCommand(item.verb, item.option); break;
        case Item::Kind::Subnegotiation:
            if (item.option == ComPort)
                onComPort(item.bytes, out);
            break;
        }
    }
    if (decoded.broken)
        fail(QStringLiteral("不正な、または長すぎるネゴシエーションを送ってきました。"));
    return out;
}

// Answers only when the option's state changes, so two sides that both
// answer every request cannot loop.
QByteArray Rfc2217Session::onCommand(quint8 verb, quint8 option)
{
    const QString noBinary = QStringLiteral("バイナリ転送を拒否しました。");
    switch (verb) {
    case TelnetCodec::Do: {
        bool *we = option == Binary ? &m_weBinary : option == SuppressGoAhead ? &m_weSga
                                               : option == ComPort          ? &m_weComPort
                                                                            : nullptr;
        if (!we)
            return TelnetCodec::command(TelnetCodec::Wont, option);
        // Our WILL went out first, so DO is its answer: nothing to say back.
        *we = true;
        if (option == ComPort && !m_settingsSent)
            return settingsRequest();
        return {};
    }
    case TelnetCodec::Dont:
        if (option == Binary)
            fail(noBinary);
        else if (option == ComPort)
            fail(QStringLiteral("RFC 2217 のポート制御に対応していません。"));
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
            fail(noBinary);
        return {};
    default: return {};
    }
}

QByteArray Rfc2217Session::settingsRequest()
{
    m_settingsSent = true;
    const quint8 stopSize = m_settings.stopBits == 2 ? 2 : 1;
    m_pending = {
        {SetBaudRate, quint32(m_settings.baud), Setting::Speed},
        {SetDataSize, quint32(m_settings.dataBits), Setting::DataBits},
        {SetParity, parityCode(m_settings.parity), Setting::Parity},
        {SetStopSize, stopSize, Setting::StopBits},
        {SetControl, quint32(m_settings.flowControl ? HardwareFlowControl : NoFlowControl), Setting::FlowControl},
        {SetControl, quint32(m_settings.rts ? RtsOn : RtsOff), Setting::Rts},
    };
    QByteArray out;
    for (const Request &request : std::as_const(m_pending)) {
        const QByteArray value = request.command == SetBaudRate ? bigEndian32(request.value)
                                                                : QByteArray(1, char(request.value));
        out += TelnetCodec::subnegotiation(ComPort, char(request.command) + value);
    }
    // Only the line errors are of interest, not the modem lines. Servers
    // answer these masks differently (ser2net with a notification), so no
    // answer is awaited.
    const char lineMask[] = {char(SetLineStateMask), char(BreakBit | FramingBit | ParityBit | OverrunBit)};
    const char modemMask[] = {char(SetModemStateMask), 0};
    out += TelnetCodec::subnegotiation(ComPort, QByteArray(lineMask, sizeof lineMask));
    out += TelnetCodec::subnegotiation(ComPort, QByteArray(modemMask, sizeof modemMask));
    // Speed zero asks for the current speed; its answer comes after those
    // to everything above.
    m_pending.append({SetBaudRate, quint32(m_settings.baud), Setting::SpeedQuery});
    out += TelnetCodec::subnegotiation(ComPort, char(SetBaudRate) + bigEndian32(0));
    return out;
}

void Rfc2217Session::onComPort(const QByteArray &payload, Received &out)
{
    if (payload.isEmpty() || quint8(payload[0]) <= ServerOffset)
        return;
    const quint8 command = quint8(payload[0]) - ServerOffset;
    const QByteArray value = payload.mid(1);
    if (command == NotifyLineState) {
        if (!value.isEmpty())
            out.events += lineErrors(quint8(value[0]));
        return;
    }
    onAnswer(command, value);
}

QString Rfc2217Session::settingName(Setting setting)
{
    switch (setting) {
    case Setting::Speed:
    case Setting::SpeedQuery: return QStringLiteral("通信速度");
    case Setting::DataBits: return QStringLiteral("データビット");
    case Setting::Parity: return QStringLiteral("パリティ");
    case Setting::StopBits: return QStringLiteral("ストップビット");
    case Setting::FlowControl: return QStringLiteral("フロー制御");
    case Setting::Rts: break;
    }
    return QStringLiteral("RTS");
}

QString Rfc2217Session::valueWords(Setting setting, quint32 value)
{
    if (value == Unreadable)
        return unknownValue();
    switch (setting) {
    case Setting::Speed:
    case Setting::SpeedQuery: return QString::number(value) + QStringLiteral("bps");
    case Setting::DataBits: return QString::number(value);
    case Setting::Parity: return pick(value, {"なし", "奇数", "偶数", "マーク", "スペース"});
    case Setting::StopBits: return pick(value, {"1", "2", "1.5"});
    case Setting::FlowControl: return pick(value, {"なし", "XON/XOFF", "ハードウェア"});
    case Setting::Rts: break;
    }
    return value == RtsOn ? QStringLiteral("オン") : value == RtsOff ? QStringLiteral("オフ") : unknownValue();
}

void Rfc2217Session::onAnswer(quint8 command, const QByteArray &value)
{
    const auto matching = std::find_if(m_pending.begin(), m_pending.end(),
                                       [&](const Request &r) { return r.command == command; });
    if (matching == m_pending.end())
        return; // nothing asked: a repeat or a server's own report
    const Request request = *matching;
    const qsizetype at = matching - m_pending.begin();
    if (request.setting == Setting::SpeedQuery) {
        // Everything asked before the query has had its chance to be
        // answered. Only RTS may go unanswered: a device without modem
        // lines has none to drive.
        for (qsizetype i = 0; i < at; ++i) {
            if (m_pending[i].setting != Setting::Rts)
                fail(QStringLiteral("%1の設定に応答しませんでした。").arg(settingName(m_pending[i].setting)));
        }
        m_pending.remove(0, at + 1);
    } else {
        m_pending.remove(at);
    }

    // The server answers with the value the port now has: anything else
    // than asked means the line would run at the wrong setting.
    const qsizetype length = command == SetBaudRate ? 4 : 1;
    quint32 got = Unreadable;
    if (value.size() == length) {
        got = 0;
        for (const char c : value)
            got = (got << 8) | quint8(c);
    }
    if (got == request.value)
        return;
    const Setting setting = request.setting;
    if (request.setting == Setting::FlowControl && got == HardwareFlowControl)
        fail(QStringLiteral("ハードウェアフロー制御を有効にしました（この接続では使えません）。"));
    else
        fail(QStringLiteral("%1を「%2」ではなく「%3」にしました。")
                 .arg(settingName(setting), valueWords(setting, request.value), valueWords(setting, got)));
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
