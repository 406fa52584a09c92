#include "TransferRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>

namespace {

struct OutcomeName
{
    WriteOutcome outcome;
    const char *name;
};

// The words users' logs already hold: never change one.
constexpr OutcomeName OutcomeNames[] = {
    {WriteOutcome::Done, "done"},
    {WriteOutcome::TimedOut, "timed-out"},
    {WriteOutcome::PortFailed, "port-failed"},
    {WriteOutcome::Refused, "refused"},
    {WriteOutcome::Abandoned, "abandoned"},
    {WriteOutcome::LineFault, "line-fault"},
};

QJsonArray toArray(const QList<int> &numbers)
{
    QJsonArray array;
    for (int n : numbers)
        array.append(n);
    return array;
}

// Channel numbers 1..8 only; false on anything else.
bool toFlags(const QJsonValue &value, std::array<bool, Title::Channels> &flags)
{
    if (!value.isArray())
        return false;
    for (const QJsonValue &v : value.toArray()) {
        const int ch = v.toInt(0);
        if (ch < 1 || ch > Title::Channels)
            return false;
        flags[size_t(ch - 1)] = true;
    }
    return true;
}

bool isHexDigest(const QString &text)
{
    if (text.size() != 64)
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')))
            return false;
    }
    return true;
}

} // namespace

QList<int> TransferRecord::numbers(const std::array<bool, Title::Channels> &flags)
{
    QList<int> channels;
    for (int ch = 0; ch < Title::Channels; ++ch)
        if (flags[size_t(ch)])
            channels << ch + 1;
    return channels;
}

QList<int> TransferRecord::unfinishedChannels() const
{
    std::array<bool, Title::Channels> flags{};
    for (size_t ch = 0; ch < flags.size(); ++ch)
        flags[ch] = asked[ch] && !completed[ch];
    return numbers(flags);
}

QString TransferRecord::outcomeName(WriteOutcome outcome)
{
    for (const OutcomeName &entry : OutcomeNames)
        if (entry.outcome == outcome)
            return QString::fromLatin1(entry.name);
    return {};
}

bool TransferRecord::outcomeFromName(const QString &name, WriteOutcome &outcome)
{
    for (const OutcomeName &entry : OutcomeNames) {
        if (name == QLatin1String(entry.name)) {
            outcome = entry.outcome;
            return true;
        }
    }
    return false;
}

QString TransferRecord::channelList(const QList<int> &channels)
{
    QStringList parts;
    for (int ch : channels)
        parts << QString::number(ch);
    return parts.join(u',');
}

QString TransferRecord::timeText(const QDateTime &time)
{
    // Always with its offset, so records from machines in other zones (or
    // from before a clock change) can be put in order.
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

QByteArray TransferRecord::toJson() const
{
    QJsonObject hashes;
    for (int ch : completedChannels())
        hashes.insert(QString::number(ch), QString::fromLatin1(sha256[size_t(ch - 1)].toHex()));
    QJsonObject object{
        {QStringLiteral("time"), timeText(time)},
        {QStringLiteral("program"), program},
        {QStringLiteral("port"), port},
        {QStringLiteral("channels"), toArray(askedChannels())},
        {QStringLiteral("completed"), toArray(completedChannels())},
        {QStringLiteral("result"), outcomeName(outcome)},
        {QStringLiteral("sha256"), hashes},
    };
    if (!file.isEmpty())
        object.insert(QStringLiteral("file"), file);
    if (modified)
        object.insert(QStringLiteral("modified"), true);
    if (!id.isEmpty())
        object.insert(QStringLiteral("id"), id);
    if (resent > 0)
        object.insert(QStringLiteral("resent"), resent);
    if (reconnects > 0)
        object.insert(QStringLiteral("reconnects"), reconnects);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<TransferRecord> TransferRecord::fromJson(const QByteArray &line)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    TransferRecord record;
    record.time = QDateTime::fromString(object[QStringLiteral("time")].toString(), Qt::ISODate);
    record.program = object[QStringLiteral("program")].toString();
    record.port = object[QStringLiteral("port")].toString();
    record.file = object[QStringLiteral("file")].toString();
    record.modified = object[QStringLiteral("modified")].toBool(false);
    record.resent = std::max(0, object[QStringLiteral("resent")].toInt(0));
    record.reconnects = std::max(0, object[QStringLiteral("reconnects")].toInt(0));
    record.id = object[QStringLiteral("id")].toString();
    if (!record.time.isValid() || record.port.isEmpty()
        || !outcomeFromName(object[QStringLiteral("result")].toString(), record.outcome)
        || !toFlags(object[QStringLiteral("channels")], record.asked)
        || !toFlags(object[QStringLiteral("completed")], record.completed))
        return std::nullopt;
    const QJsonObject hashes = object[QStringLiteral("sha256")].toObject();
    for (auto it = hashes.begin(); it != hashes.end(); ++it) {
        bool ok = false;
        const int ch = it.key().toInt(&ok);
        const QString hex = it.value().toString();
        if (ok && ch >= 1 && ch <= Title::Channels && isHexDigest(hex))
            record.sha256[size_t(ch - 1)] = QByteArray::fromHex(hex.toLatin1());
    }
    return record;
}
