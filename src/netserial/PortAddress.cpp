#include "PortAddress.h"

#include "SerialPortNames.h"

#include <QRegularExpression>

namespace {

using Problem = PortAddress::Problem;

PortAddress invalid(Problem problem, const QString &why)
{
    PortAddress address;
    address.problem = problem;
    address.error = why;
    return address;
}

PortAddress device(const QString &path)
{
    PortAddress address;
    address.kind = PortAddress::Kind::Device;
    address.device = path;
    return address;
}

PortAddress network(PortAddress::Kind kind, const QString &rest, const QString &text)
{
    // HOST:PORT, [IPV6]:PORT; a trailing slash as a browser would add it.
    static const QRegularExpression form(QStringLiteral(R"(^(?:\[([0-9A-Fa-f:.]+)\]|([^\[\]:/\s]+)):(\d{1,5})/?$)"));
    const QRegularExpressionMatch match = form.match(rest);
    if (!match.hasMatch()) {
        if (rest.count(u':') > 1 && !rest.startsWith(u'['))
            return invalid(Problem::Ipv6NeedsBrackets, QStringLiteral("%1: an IPv6 address goes in brackets, as [::1]:2000").arg(text));
        return invalid(Problem::NeedsHostAndPort, QStringLiteral("%1: the address needs a host and a port, as HOST:PORT").arg(text));
    }
    const int port = match.captured(3).toInt();
    if (port < 1 || port > 65535)
        return invalid(Problem::PortOutOfRange, QStringLiteral("%1: the port number must be 1..65535").arg(text));
    PortAddress address;
    address.kind = kind;
    address.host = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    address.port = quint16(port);
    return address;
}

// [USER@]HOST[:PORT]/PORT-THERE, the far port whole after the host's
// slash: an absolute device path keeps its slash, an address or a port
// number is taken as written.
PortAddress far(const QString &rest, const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^(?:([^@/\s\[\]:]+)@)?(?:\[([0-9A-Fa-f:.]+)\]|([^@\[\]:/\s]+))(?::(\d{1,5}))?/(.*)$)"));
    const QRegularExpressionMatch match = form.match(rest);
    if (!match.hasMatch())
        return invalid(Problem::NeedsHostAndPort,
                       QStringLiteral("%1: the address needs a host and the port there, as ssh://HOST/dev/ttyUSB0").arg(text));
    QString there = match.captured(5);
    if (there.isEmpty())
        return invalid(Problem::NeedsFarPort,
                       QStringLiteral("%1: the address needs the port on the far computer, as ssh://HOST/dev/ttyUSB0").arg(text));
    bool isNumber = false;
    there.toInt(&isNumber);
    if (!isNumber && !there.contains(QLatin1String("://")))
        there.prepend(u'/');
    PortAddress address;
    address.kind = PortAddress::Kind::Ssh;
    address.user = match.captured(1);
    address.host = match.captured(2).isEmpty() ? match.captured(3) : match.captured(2);
    if (match.hasCaptured(4) && !match.captured(4).isEmpty()) {
        const int port = match.captured(4).toInt();
        if (port < 1 || port > 65535)
            return invalid(Problem::PortOutOfRange, QStringLiteral("%1: the port number must be 1..65535").arg(text));
        address.port = quint16(port);
    }
    address.device = there;
    return address;
}

PortAddress parseUnnumbered(const QString &text)
{
    const qsizetype scheme = text.indexOf(QLatin1String("://"));
    if (scheme < 0)
        return device(text);
    const QString name = text.left(scheme).toLower();
    const QString rest = text.mid(scheme + 3);
    if (name == QLatin1String("tcp"))
        return network(PortAddress::Kind::Tcp, rest, text);
    if (name == QLatin1String("rfc2217"))
        return network(PortAddress::Kind::Rfc2217, rest, text);
    if (name == QLatin1String("ssh"))
        return far(rest, text);
    return invalid(Problem::UnknownKind, QStringLiteral("%1: unknown kind of address \"%2://\" (tcp://, rfc2217:// or ssh://)").arg(text, name));
}

} // namespace

PortAddress PortAddress::parse(const QString &given)
{
    const QString text = given.trimmed();
    if (text.isEmpty())
        return invalid(Problem::Empty, QStringLiteral("no port given"));
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (!isNumber)
        return parseUnnumbered(text);
    if (number < 1 || number > 8)
        return invalid(Problem::NumberOutOfRange, QStringLiteral("%1: port numbers are 1..8").arg(text));
    // ORVEX_COM<n> may name a device or a network address, never another
    // number.
    return parseUnnumbered(SerialPortNames::deviceForPort(number));
}

QString PortAddress::toString() const
{
    // Joined, not arg()-chained: a host may hold "%1" of its own, which a
    // later arg() would take for a place to fill.
    const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
    const QString hostAndPort = shownHost + u':' + QString::number(port);
    switch (kind) {
    case Kind::Device: return device;
    case Kind::Tcp: return QStringLiteral("tcp://") + hostAndPort;
    case Kind::Rfc2217: return QStringLiteral("rfc2217://") + hostAndPort;
    case Kind::Ssh: {
        const QString there = device.startsWith(u'/') ? device : u'/' + device;
        return QStringLiteral("ssh://") + (user.isEmpty() ? QString() : user + u'@') + shownHost
               + (port ? u':' + QString::number(port) : QString()) + there;
    }
    case Kind::Invalid: break;
    }
    return {};
}
