#include "Commands.h"

#include "link/BulkWriteReport.h"
#include "link/TransferLog.h"

#include <QTextStream>

namespace {

QString numbers(const QList<int> &channels)
{
    return channels.isEmpty() ? QStringLiteral("none") : BulkWriteReport::channelList(channels);
}

void printText(QTextStream &out, const TransferRecord &record)
{
    out << TransferRecord::timeText(record.time) << "  " << record.result << "  " << record.program << "  "
        << record.port << '\n';
    out << "    channels " << numbers(record.channels) << ", completed " << numbers(record.completed) << '\n';
    if (!record.file.isEmpty())
        out << "    file " << record.file << '\n';
    for (auto it = record.sha256.cbegin(); it != record.sha256.cend(); ++it)
        out << "    sha256 CH" << it.key() << ' ' << it.value() << '\n';
}

} // namespace

int Cli::log(const QStringList &args)
{
    bool json = false;
    for (const QString &arg : args) {
        if (arg == QLatin1String("--json"))
            json = true;
        else
            return badArguments(QStringLiteral("log takes only --json"));
    }
    const TransferLog log;
    const TransferLog::Contents contents = log.read();
    if (!contents.error.isEmpty()) {
        error(QStringLiteral("orvex: ") + contents.error);
        return 1;
    }
    if (contents.unreadable > 0)
        error(QStringLiteral("orvex: note: %1 line(s) of %2 are no transfer record and were left out")
                  .arg(contents.unreadable)
                  .arg(log.path()));
    QTextStream out(stdout);
    for (auto it = contents.records.crbegin(); it != contents.records.crend(); ++it) {
        if (json)
            out << it->toJson() << '\n';
        else
            printText(out, *it);
    }
    out.flush();
    return 0;
}
