#include "Commands.h"
#include "VerbParser.h"
#include "link/history/TransferLog.h"
#include "link/history/TransferRecorder.h"
#include "netserial/FarServer.h"
#include "netserial/FarWrites.h"
#include "netserial/PortAddress.h"
#include "platform/QtLinkPlatform.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <unistd.h>

namespace {

// Every byte of `line` to standard output; a near side that is gone is no
// reason to stop the write beside the unit short of its record.
void writeOut(const QByteArray &line)
{
    qsizetype done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, line.constData() + done, size_t(line.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += n;
    }
}

std::optional<TransferRecord> newestWithId(const TransferLog &log, const QString &id)
{
    const QList<TransferRecord> records = log.read().records;
    for (auto it = records.crbegin(); it != records.crend(); ++it)
        if (it->id == id)
            return *it;
    return std::nullopt;
}

} // namespace

// The far side of an ssh:// address: the link engine on a port of this
// computer, driven over standard input and output by the orvex that
// started it through ssh. Its writes go to this computer's transfer log.
int Cli::serve(const QStringList &args)
{
    VerbParser parser(QStringLiteral("serve"),
                      QStringLiteral("The far side of an ssh:// port: runs the link engine on PORT of this computer."));
    parser.addFlag(QStringLiteral("stdio"), QStringLiteral("Speak the link protocol on standard input and output."));
    parser.addValue(QStringLiteral("port"), QStringLiteral("PORT"), QStringLiteral("The unit's port on this computer."));
    if (!parser.parse(args))
        return parser.exitCode();
    if (!parser.isSet(QStringLiteral("stdio")) || !parser.isSet(QStringLiteral("port")) || !parser.positional().isEmpty())
        return badArguments(QStringLiteral("serve needs --stdio --port PORT"));
    const PortAddress address = PortAddress::parse(parser.value(QStringLiteral("port")));
    if (!address.isValid() || address.isFar())
        return badArguments(QStringLiteral("serve: --port ") +
                            (address.isFar() ? QStringLiteral("cannot be another far computer") : address.error));

    // Writes to a near side that has gone fail instead of ending us.
    std::signal(SIGPIPE, SIG_IGN);
    const TransferLog log;
    TransferRecorder recorder(log, FarWrites::FarProgram,
                              [](const QString &note) { error(QStringLiteral("orvex serve: ") + note); });
    QtLinkPlatform platform;
    FarServer server(
        platform, address.toString(), writeOut,
        [&recorder](const TransferRecord &finished) {
            recorder.record(finished);
            return recorder.last().value_or(finished);
        },
        [&log](const QString &id) { return newestWithId(log, id); });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &input, [&] {
        char buffer[16384];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            return;
        if (n > 0)
            server.receive(QByteArray(buffer, qsizetype(n)));
        else
            server.inputEnded();
        if (server.finished()) {
            input.setEnabled(false);
            QCoreApplication::quit();
        }
    });
    server.start();
    return QCoreApplication::exec();
}
