#include "Commands.h"
#include "VerbParser.h"

#include "link/history/TransferLog.h"

#include <QTextStream>

namespace {

QString numbers(const QList<int> &channels)
{
    return channels.isEmpty() ? QStringLiteral("none") : TransferRecord::channelList(channels);
}

void printText(QTextStream &out, const TransferRecord &record)
{
    out << TransferRecord::timeText(record.time) << "  " << TransferRecord::outcomeName(record.outcome) << "  "
        << record.program << "  " << record.port << '\n';
    out << "    channels " << numbers(record.askedChannels()) << ", completed "
        << numbers(record.completedChannels()) << '\n';
    if (!record.file.isEmpty())
        out << "    file " << record.file << (record.modified ? " (with unsaved changes)" : "") << '\n';
    for (int ch : record.completedChannels())
        out << "    sha256 CH" << ch << ' ' << record.sha256[size_t(ch - 1)].toHex() << '\n';
}

} // namespace

int Cli::log(const QStringList &args)
{
    VerbParser verb(QStringLiteral("log"), QStringLiteral("Print the transfer log, newest first."));
    verb.addFlag(QStringLiteral("json"), QStringLiteral("The records as their JSON lines."));
    if (!verb.parse(args))
        return verb.exitCode();
    if (!verb.positional().isEmpty())
        return badArguments(QStringLiteral("log takes only --json"));
    const bool json = verb.isSet(QStringLiteral("json"));
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
