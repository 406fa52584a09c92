#include "PortAddress.h"

#include "SerialPortNames.h"

#include <QDir>
#include <QFileInfo>
#include <QHashFunctions>
#include <QRegularExpression>

#include <array>
#include <optional>

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
    if (name == QLatin1String("ssh"))
        return far(rest, text);
    for (const Scheme &scheme : Schemes) {
        if (name == QLatin1String(scheme.name))
            return network(scheme.kind, rest, text);
    }
    return invalid(Problem::UnknownKind,
                   QStringLiteral("%1: unknown kind of address \"%2://\" (tcp://, rfc2217://, tls://, rfc2217+tls:// or ssh://)")
                       .arg(text, name));
}

// The sixteen bytes of an IPv6 address as eight groups; nothing when `text`
// is none (a trailing dotted IPv4 part included).
std::optional<std::array<quint16, 8>> ipv6Groups(const QString &text)
{
    const qsizetype gap = text.indexOf(QLatin1String("::"));
    if (gap >= 0 && text.indexOf(QLatin1String("::"), gap + 1) >= 0)
        return std::nullopt;
    const auto groupsOf = [](const QString &part, QList<quint16> &groups) {
        if (part.isEmpty())
            return true;
        const QStringList words = part.split(u':');
        for (qsizetype i = 0; i < words.size(); ++i) {
            const QString &word = words[i];
            if (i == words.size() - 1 && word.contains(u'.')) {
                const QStringList bytes = word.split(u'.');
                if (bytes.size() != 4)
                    return false;
                std::array<int, 4> value{};
                for (int b = 0; b < 4; ++b) {
                    bool ok = false;
                    value[size_t(b)] = bytes[b].toInt(&ok);
                    if (!ok || bytes[b].isEmpty() || value[size_t(b)] > 255)
                        return false;
                }
                groups << quint16(value[0] << 8 | value[1]) << quint16(value[2] << 8 | value[3]);
                continue;
            }
            bool ok = false;
            const uint group = word.toUInt(&ok, 16);
            if (!ok || word.isEmpty() || word.size() > 4)
                return false;
            groups << quint16(group);
        }
        return true;
    };
    QList<quint16> head, tail;
    if (!groupsOf(gap >= 0 ? text.left(gap) : text, head) || !groupsOf(gap >= 0 ? text.mid(gap + 2) : QString(), tail))
        return std::nullopt;
    const qsizetype given = head.size() + tail.size();
    if (given > 8 || (gap < 0 && given != 8) || (gap >= 0 && given == 8))
        return std::nullopt;
    std::array<quint16, 8> groups{};
    for (qsizetype i = 0; i < head.size(); ++i)
        groups[size_t(i)] = head[i];
    for (qsizetype i = 0; i < tail.size(); ++i)
        groups[size_t(8 - tail.size() + i)] = tail[i];
    return groups;
}

// RFC 5952's one form: lower case, no leading zeros, the longest run of two
// or more zero groups (the first of equals) written "::".
QString ipv6Text(const std::array<quint16, 8> &groups)
{
    int runAt = -1, runLength = 0;
    for (int i = 0; i < 8;) {
        int j = i;
        while (j < 8 && groups[size_t(j)] == 0)
            ++j;
        if (j - i > runLength && j - i >= 2) {
            runAt = i;
            runLength = j - i;
        }
        i = j > i ? j : i + 1;
    }
    QString text;
    for (int i = 0; i < 8; ++i) {
        if (i == runAt) {
            text += QLatin1String("::");
            i += runLength - 1;
            continue;
        }
        if (!text.isEmpty() && !text.endsWith(u':'))
            text += u':';
        text += QString::number(groups[size_t(i)], 16);
    }
    return text;
}

QString canonicalHost(const QString &host)
{
    if (host.contains(u':')) {
        if (const auto groups = ipv6Groups(host))
            return ipv6Text(*groups);
    }
    QString name = host.toLower();
    if (name.endsWith(u'.'))
        name.chop(1);
    return name;
}

} // namespace

PortAddress::Identity PortAddress::identity() const
{
    Identity identity;
    identity.kind = kind;
    switch (kind) {
    case Kind::Device: {
        const QFileInfo info(QDir::current().absoluteFilePath(device));
        const QString resolved = info.canonicalFilePath();
        identity.path = resolved.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : resolved;
        break;
    }
    case Kind::Tcp:
    case Kind::Rfc2217:
    case Kind::Tls:
    case Kind::Rfc2217Tls:
        // One server port carries one line however it is spoken to, so
        // tcp://h:1 and rfc2217+tls://h:1 reach the same unit.
        identity.kind = Kind::Tcp;
        identity.host = canonicalHost(host);
        identity.port = port;
        break;
    case Kind::Ssh:
        // The far port is named as the far computer names it; only that
        // computer could resolve it.
        identity.host = canonicalHost(host);
        identity.port = port;
        identity.path = device;
        break;
    case Kind::Invalid: break;
    }
    return identity;
}

PortAddress::DeviceNode PortAddress::deviceNode() const
{
    if (kind != Kind::Device)
        return DeviceNode::NotADevice;
    const QFileInfo info(device);
    if (!info.exists())
        return DeviceNode::Missing;
    if (info.isDir())
        return DeviceNode::Folder;
    // A serial device is a character device, never a regular file (a fifo
    // or a socket may stand in for one while a program is tested).
    if (info.isFile()) // follows a link, and is false for a device node
        return DeviceNode::RegularFile;
    return DeviceNode::Other;
}

size_t qHash(const PortAddress::Identity &identity, size_t seed)
{
    return qHashMulti(seed, int(identity.kind), identity.host, identity.port, identity.path);
}

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
    if (kind == Kind::Ssh) {
        const QString there = device.startsWith(u'/') ? device : u'/' + device;
        return QStringLiteral("ssh://") + (user.isEmpty() ? QString() : user + u'@') + shownHost(host)
               + (port ? u':' + QString::number(port) : QString()) + there;
    }
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
