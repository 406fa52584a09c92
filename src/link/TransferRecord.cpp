#include "TransferRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonArray toArray(const QList<int> &numbers)
{
    QJsonArray array;
    for (int n : numbers)
        array.append(n);
    return array;
}

// Channel numbers 1..8 only; false on anything else.
bool toChannels(const QJsonValue &value, QList<int> &channels)
{
    if (!value.isArray())
        return false;
    for (const QJsonValue &v : value.toArray()) {
        const int ch = v.toInt(0);
        if (ch < 1 || ch > Title::Channels)
            return false;
        channels << ch;
    }
    return true;
}

} // namespace

TransferRecord TransferRecord::fromReport(const BulkWriteReport &report, const QString &program,
                                          const QString &file, const QDateTime &time)
{
    TransferRecord record;
    record.time = time;
    record.program = program;
    record.port = report.port;
    record.channels = report.askedChannels();
    record.completed = report.completedChannels();
    record.result = BulkWriteReport::outcomeName(report.outcome);
    record.file = file;
    for (int ch : record.completed)
        record.sha256.insert(ch, QString::fromLatin1(report.sha256[size_t(ch - 1)].toHex()));
    return record;
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
    for (auto it = sha256.cbegin(); it != sha256.cend(); ++it)
        hashes.insert(QString::number(it.key()), it.value());
    QJsonObject object{
        {QStringLiteral("time"), timeText(time)},
        {QStringLiteral("program"), program},
        {QStringLiteral("port"), port},
        {QStringLiteral("channels"), toArray(channels)},
        {QStringLiteral("completed"), toArray(completed)},
        {QStringLiteral("result"), result},
        {QStringLiteral("sha256"), hashes},
    };
    if (!file.isEmpty())
        object.insert(QStringLiteral("file"), file);
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
    record.result = object[QStringLiteral("result")].toString();
    record.file = object[QStringLiteral("file")].toString();
    WriteOutcome outcome;
    if (!record.time.isValid() || record.port.isEmpty()
        || !BulkWriteReport::outcomeFromName(record.result, outcome)
        || !toChannels(object[QStringLiteral("channels")], record.channels)
        || !toChannels(object[QStringLiteral("completed")], record.completed))
        return std::nullopt;
    const QJsonObject hashes = object[QStringLiteral("sha256")].toObject();
    for (auto it = hashes.begin(); it != hashes.end(); ++it) {
        bool ok = false;
        const int ch = it.key().toInt(&ok);
        if (ok && ch >= 1 && ch <= Title::Channels && it.value().isString())
            record.sha256.insert(ch, it.value().toString().toLower());
    }
    return record;
}
