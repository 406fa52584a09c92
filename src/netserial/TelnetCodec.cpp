#include "TelnetCodec.h"

namespace {

void appendData(QList<TelnetCodec::Item> &items, char c)
{
    if (items.isEmpty() || items.last().kind != TelnetCodec::Item::Kind::Data)
        items.append(TelnetCodec::Item::data({}));
    items.last().bytes += c;
}

} // namespace

QByteArray TelnetCodec::Decoded::data() const
{
    QByteArray out;
    for (const Item &item : items) {
        if (item.kind == Item::Kind::Data)
            out += item.bytes;
    }
    return out;
}

TelnetCodec::Decoded TelnetCodec::decode(const QByteArray &bytes)
{
    Decoded out;
    for (const char c : bytes) {
        const quint8 b = quint8(c);
        switch (m_state) {
        case State::Broken: return out;
        case State::Data:
            if (b == Iac)
                m_state = State::Iac;
            else
                appendData(out.items, c);
            break;
        case State::Iac:
            if (b == Iac) {
                appendData(out.items, c); // a doubled 0xFF is one data byte
                m_state = State::Data;
            } else if (b >= Will && b <= Dont) {
                m_verb = b;
                m_state = State::Option;
            } else if (b == Sb) {
                m_state = State::SbOption;
            } else {
                // NOP, GA, DM, AYT and the like carry nothing for a serial line.
                m_state = State::Data;
            }
            break;
        case State::Option:
            out.items.append(Item::command(m_verb, b));
            m_state = State::Data;
            break;
        case State::SbOption:
            m_sbOption = b;
            m_sb.clear();
            m_state = State::SbData;
            break;
        case State::SbData:
            if (b == Iac)
                m_state = State::SbIac;
            else
                appendToSubnegotiation(c, out);
            break;
        case State::SbIac:
            if (b == Iac) {
                m_state = State::SbData;
                appendToSubnegotiation(c, out);
            } else {
                // IAC SE ends it; any other command inside is a broken
                // subnegotiation, which ends it just the same.
                out.items.append(Item::subnegotiation(m_sbOption, m_sb));
                m_sb = {}; // gives the buffer back, however large it was
                m_state = State::Data;
            }
            break;
        }
    }
    return out;
}

void TelnetCodec::appendToSubnegotiation(char c, Decoded &out)
{
    if (m_sb.size() >= MaxSubnegotiation) {
        m_sb = {};
        m_state = State::Broken;
        out.broken = true;
        return;
    }
    m_sb += c;
}

void TelnetCodec::reset()
{
    m_state = State::Data;
    m_verb = 0;
    m_sbOption = 0;
    m_sb = {};
}

QByteArray TelnetCodec::escape(const QByteArray &data)
{
    if (!data.contains(char(Iac)))
        return data;
    QByteArray out;
    out.reserve(data.size() + 8);
    for (const char c : data) {
        out += c;
        if (quint8(c) == Iac)
            out += c;
    }
    return out;
}

QByteArray TelnetCodec::command(quint8 verb, quint8 option)
{
    const char bytes[] = {char(Iac), char(verb), char(option)};
    return QByteArray(bytes, sizeof bytes);
}

QByteArray TelnetCodec::subnegotiation(quint8 option, const QByteArray &payload)
{
    const char start[] = {char(Iac), char(Sb), char(option)};
    const char end[] = {char(Iac), char(Se)};
    return QByteArray(start, sizeof start) + escape(payload) + QByteArray(end, sizeof end);
}
