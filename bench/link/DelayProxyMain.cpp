// orvex-delay-proxy: a long network path on loopback, in front of a network
// serial server, for the benchmarks and for trying a write at a distance:
//
//   orvex-delay-proxy --to 127.0.0.1:4001 --delay 300 [--listen 5001] [--nearby-handshake]
//
// prints the port it listens on first, then forwards until it is stopped.
// --nearby-handshake reaches the server as through a tunnel: one one-way
// delay after the client connected.

#include "support/DelayProxy.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool nearby = args.removeAll(QStringLiteral("--nearby-handshake")) > 0;
    QString to;
    int delay = -1;
    int listen = 0;
    bool ok = true;
    for (int i = 0; ok && i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--to"))
            to = args[i + 1];
        else if (args[i] == QLatin1String("--delay"))
            delay = args[i + 1].toInt(&ok);
        else if (args[i] == QLatin1String("--listen"))
            listen = args[i + 1].toInt(&ok);
        else
            ok = false;
    }
    const int colon = to.lastIndexOf(u':');
    const int targetPort = colon > 0 ? to.mid(colon + 1).toInt() : 0;
    const QHostAddress host(to.left(colon));
    if (!ok || args.size() % 2 != 0 || host.isNull() || targetPort <= 0 || targetPort > 65535 || delay < 0
        || listen < 0 || listen > 65535) {
        QTextStream(stderr)
            << "usage: orvex-delay-proxy --to ADDRESS:PORT --delay ONE_WAY_MS [--listen PORT] [--nearby-handshake]\n";
        return 2;
    }
    DelayProxy proxy(host, quint16(targetPort), delay,
                     nearby ? DelayProxy::Handshake::Nearby : DelayProxy::Handshake::Instant);
    if (!proxy.listen(quint16(listen))) {
        QTextStream(stderr) << "orvex-delay-proxy: " << proxy.errorString() << "\n";
        return 1;
    }
    QTextStream(stdout) << proxy.port() << Qt::endl;
    return app.exec();
}
