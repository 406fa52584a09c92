#include "SimDevice.h"

#include <QJsonArray>

#include <algorithm>

namespace {

const QByteArray ack{"\x06\r", 2};
const QByteArray nak{"\x15\r", 2};

// Digits 0..9 only; -1 for anything else.
int digit(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

QByteArray threeBytes(int first, int second)
{
    return QByteArray(1, char(first)) + char(second) + '\r';
}

} // namespace

SimDevice::Answer SimDevice::handle(const QByteArray &frame)
{
    ++m_frames;
    Answer answer;
    if (frame.startsWith("@WD,")) {
        m_log << QString::fromLatin1(frame.left(11));
        answer.reply = screenRow(frame);
    } else if (frame.startsWith("@WC,")) {
        m_log << QString::fromLatin1(frame.left(7));
        answer.reply = character(frame);
    } else {
        m_log << QString::fromLatin1(frame.toPercentEncoding("+-?,"));
        answer.reply = command(frame);
        answer.finished = frame == "PS1";
    }
    return answer;
}

QByteArray SimDevice::screenRow(const QByteArray &frame)
{
    // "@WD,P00,Lrr," + 30 bytes
    const int tens = digit(frame.at(9)), ones = digit(frame.at(10));
    const int row = tens * 10 + ones;
    if (!frame.startsWith("@WD,P00,L") || frame.at(11) != ',' || tens < 0 || ones < 0 || row >= SimChannel::Rows)
        return nak;
    current().page.replace(row * SimChannel::Columns, SimChannel::Columns, frame.mid(12, SimChannel::Columns));
    ++current().dataFrames;
    return ack;
}

QByteArray SimDevice::character(const QByteArray &frame)
{
    // "@WC,Phh," + 54 bytes
    bool ok = false;
    const int slot = frame.mid(5, 2).toInt(&ok, 16);
    if (frame.at(4) != 'P' || frame.at(7) != ',' || !ok || slot < 0 || slot >= SimChannel::Slots)
        return nak;
    current().patterns[slot] = frame.mid(8, SimChannel::PatternBytes);
    ++current().dataFrames;
    return ack;
}

QByteArray SimDevice::brightness(const QByteArray &frame)
{
    // "BSrr,bw"
    if (frame.size() != 7 || frame.at(4) != ',')
        return nak;
    const int row = digit(frame.at(2)) * 10 + digit(frame.at(3));
    const int black = digit(frame.at(5)), white = digit(frame.at(6));
    if (digit(frame.at(2)) < 0 || digit(frame.at(3)) < 0 || row < 1 || row > SimChannel::Rows || black < 0
        || black > 3 || white < 0 || white > 3)
        return nak;
    current().levels[row - 1] = {black, white};
    return ack;
}

QByteArray SimDevice::command(const QByteArray &frame)
{
    SimChannel &ch = current();
    if (frame == "CS?")
        return QByteArray(1, char(m_selected + 1)) + '\r';
    if (frame == "HP?")
        return threeBytes(ch.hpos / 10, ch.hpos % 10);
    if (frame == "VP?")
        return threeBytes(ch.vpos / 10, ch.vpos % 10);
    if (frame == "BS01,?")
        return threeBytes(ch.levels[0].white, ch.levels[0].black);
    if (frame == "VL")
        return threeBytes((m_videoLoss >> 4) & 0xF, m_videoLoss & 0xF);
    if (frame == "HP+" || frame == "HP-") {
        ch.hpos = std::clamp(ch.hpos + (frame.at(2) == '+' ? 1 : -1), 0, 63);
        return ack;
    }
    if (frame == "VP+" || frame == "VP-") {
        ch.vpos = std::clamp(ch.vpos + (frame.at(2) == '+' ? 1 : -1), 0, 31);
        return ack;
    }
    if (frame == "OS0" || frame == "OS1") {
        ch.overlay = frame.at(2) == '1';
        return ack;
    }
    if (frame == "PS1")
        return ack;
    if (frame.size() == 3 && frame.startsWith("CS") && digit(frame.at(2)) >= 1 && digit(frame.at(2)) <= 8) {
        m_selected = digit(frame.at(2)) - 1;
        return ack;
    }
    if (frame.startsWith("BS"))
        return brightness(frame);
    return nak;
}

QJsonObject SimDevice::toJson() const
{
    QJsonArray channels;
    for (const SimChannel &ch : m_channels) {
        QJsonArray levels, patterns;
        for (const auto &level : ch.levels)
            levels.append(QJsonArray{level.black, level.white});
        for (const QByteArray &pattern : ch.patterns)
            patterns.append(QString::fromLatin1(pattern.toHex()));
        channels.append(QJsonObject{
            {QStringLiteral("overlay"), ch.overlay},
            {QStringLiteral("hpos"), ch.hpos},
            {QStringLiteral("vpos"), ch.vpos},
            {QStringLiteral("levels"), levels},
            {QStringLiteral("page"), QString::fromLatin1(ch.page.toHex())},
            {QStringLiteral("patterns"), patterns},
            {QStringLiteral("data_frames"), ch.dataFrames},
        });
    }
    return QJsonObject{
        {QStringLiteral("channel"), m_selected + 1},
        {QStringLiteral("video_loss"), m_videoLoss},
        {QStringLiteral("frames"), m_frames},
        {QStringLiteral("log"), QJsonArray::fromStringList(m_log)},
        {QStringLiteral("channels"), channels},
    };
}
