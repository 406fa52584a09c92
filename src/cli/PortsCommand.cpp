#include "Commands.h"
#include "PortListing.h"
#include "platform/QtPortDiscovery.h"

#include <QTextStream>

int Cli::ports(const QStringList &args)
{
    bool json = false;
    for (const QString &a : args) {
        if (a == QLatin1String("--json"))
            json = true;
        else
            return badArguments(QStringLiteral("ports: unexpected \"%1\"").arg(a));
    }
    const QList<PortInfo> found = QtPortDiscovery().ports();
    QTextStream out(stdout);
    if (json)
        out << QString::fromUtf8(PortListing::json(found));
    else if (found.isEmpty())
        error(QStringLiteral("orvex: no serial ports found (a network serial server is reached as "
                             "tcp://, rfc2217://, tls:// or rfc2217+tls://HOST:PORT)"));
    else
        out << PortListing::text(found);
    out.flush();
    return 0;
}
