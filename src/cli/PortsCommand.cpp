#include "Commands.h"
#include "PortListing.h"
#include "VerbParser.h"
#include "platform/QtPortDiscovery.h"

#include <QTextStream>

int Cli::ports(const QStringList &args)
{
    VerbParser verb(QStringLiteral("ports"), QStringLiteral("List the serial ports present."));
    verb.addFlag(QStringLiteral("json"), QStringLiteral("As a JSON array."));
    if (!verb.parse(args))
        return verb.exitCode();
    if (!verb.positional().isEmpty())
        return badArguments(QStringLiteral("ports: unexpected \"%1\"").arg(verb.positional().first()));
    const bool json = verb.isSet(QStringLiteral("json"));
    const QList<PortInfo> found = QtPortDiscovery().ports();
    QTextStream out(stdout);
    if (json)
        out << QString::fromUtf8(PortListing::json(found));
    else if (found.isEmpty())
        error(QStringLiteral("orvex: no serial ports found (a network serial server is reached as "
                             "tcp://HOST:PORT or rfc2217://HOST:PORT)"));
    else
        out << PortListing::text(found);
    out.flush();
    return 0;
}
