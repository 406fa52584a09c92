#include "SimDevice.h"

#include <QJsonArray>

#include <algorithm>

namespace {

const QByteArray ack{"\x06\r", 2};

// Digits 0..9 only; -1 for anything else.
int digit(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

// Upper-case hexadecimal digits only, as the device's character header has
// them; -1 for anything else.
int upperHexDigit(char c)
{
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return digit(c);
}

// Two decimal digits, or -1.
int twoDigits(char tens, char ones)
{
    return digit(tens) < 0 || digit(ones) < 0 ? -1 : digit(tens) * 10 + digit(ones);
}

QByteArray threeBytes(int first, int second)
{
    return QByteArray(1, char(first)) + char(second) + '\r';
}

QByteArray refuse(QString &why, const QString &reason)
{
    why = reason;
    return {};
}

} // namespace

SimDevice::Answer SimDevice::handle(const QByteArray &frame)
{
    ++m_frames;
    Answer answer;
    if (frame.startsWith("@WD,")) {
        m_log << QString::fromLatin1(frame.left(11));
        answer.reply = screenRow(frame, answer.refusal);
    } else if (frame.startsWith("@WC,")) {
        m_log << QString::fromLatin1(frame.left(7));
        answer.reply = character(frame, answer.refusal);
    } else {
        m_log << QString::fromLatin1(frame.toPercentEncoding("+-?,"));
        answer.reply = command(frame, answer.refusal);
        answer.finished = frame == "PS1";
    }
    return answer;
}

QByteArray SimDevice::screenRow(const QByteArray &frame, QString &why)
{
    // "@WD,P00,Lrr," + 30 bytes
    if (frame.size() != 12 + SimChannel::Columns)
        return refuse(why, QStringLiteral("screen row of %1 bytes").arg(frame.size() + 1));
    const int row = twoDigits(frame.at(9), frame.at(10));
    if (!frame.startsWith("@WD,P00,L") || frame.at(11) != ',' || row < 0 || row >= SimChannel::Rows)
        return refuse(why, QStringLiteral("bad screen row header"));
    current().page.replace(row * SimChannel::Columns, SimChannel::Columns, frame.mid(12, SimChannel::Columns));
    ++current().dataFrames;
    return ack;
}

QByteArray SimDevice::character(const QByteArray &frame, QString &why)
{
    // "@WC,Phh," + 54 bytes, hh upper-case hexadecimal
    if (frame.size() != 8 + SimChannel::PatternBytes)
        return refuse(why, QStringLiteral("character frame of %1 bytes").arg(frame.size() + 1));
    const int high = upperHexDigit(frame.at(5)), low = upperHexDigit(frame.at(6));
    const int slot = high * 16 + low;
    if (frame.at(4) != 'P' || frame.at(7) != ',' || high < 0 || low < 0 || slot >= SimChannel::Slots)
        return refuse(why, QStringLiteral("bad character header"));
    current().patterns[slot] = frame.mid(8, SimChannel::PatternBytes);
    ++current().dataFrames;
    return ack;
}

QByteArray SimDevice::brightness(const QByteArray &frame, QString &why)
{
    // "BSrr,bw"
    if (frame.size() != 7 || frame.at(4) != ',')
        return refuse(why, QStringLiteral("unknown command"));
    const int row = twoDigits(frame.at(2), frame.at(3));
    const int black = digit(frame.at(5)), white = digit(frame.at(6));
    if (row < 1 || row > SimChannel::Rows || black < 0 || black > 3 || white < 0 || white > 3)
        return refuse(why, QStringLiteral("level or row out of range"));
    current().levels[row - 1] = {black, white};
    return ack;
}

QByteArray SimDevice::command(const QByteArray &frame, QString &why)
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
    if (frame.size() == 3 && frame.startsWith("CS")) {
        if (digit(frame.at(2)) < 1 || digit(frame.at(2)) > 8)
            return refuse(why, QStringLiteral("no such channel"));
        m_selected = digit(frame.at(2)) - 1;
        return ack;
    }
    if (frame.startsWith("BS"))
        return brightness(frame, why);
    return refuse(why, QStringLiteral("unknown command"));
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
