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

// Every network kind by its scheme, in the order they are offered.
struct Scheme
{
    const char *name;
    PortAddress::Kind kind;
};
constexpr Scheme Schemes[] = {
    {"tcp", PortAddress::Kind::Tcp},
    {"rfc2217", PortAddress::Kind::Rfc2217},
    {"tls", PortAddress::Kind::Tls},
    {"rfc2217+tls", PortAddress::Kind::Rfc2217Tls},
};

QString shownHost(const QString &host)
{
    return host.contains(u':') ? u'[' + host + u']' : host;
}

PortAddress parseUnnumbered(const QString &text)
{
    const qsizetype scheme = text.indexOf(QLatin1String("://"));
    if (scheme < 0)
        return device(text);
    const QString name = text.left(scheme).toLower();
    const QString rest = text.mid(scheme + 3);
    for (const Scheme &scheme : Schemes) {
        if (name == QLatin1String(scheme.name))
            return network(scheme.kind, rest, text);
    }
    return invalid(Problem::UnknownKind,
                   QStringLiteral("%1: unknown kind of address \"%2://\" (tcp://, rfc2217://, tls:// or rfc2217+tls://)")
                       .arg(text, name));
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
    if (kind == Kind::Device)
        return device;
    for (const Scheme &scheme : Schemes) {
        if (scheme.kind == kind)
            return QLatin1String(scheme.name) + QStringLiteral("://") + shownHost(host) + u':' + QString::number(port);
    }
    return {};
}

QString PortAddress::endpoint() const
{
    return isNetwork() ? shownHost(host.toLower()) + u':' + QString::number(port) : QString();
}
