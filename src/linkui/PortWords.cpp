#include "PortWords.h"

#include "netserial/PortAddress.h"
#include "platform/PortDiscovery.h"

#include <QStringList>

namespace PortWords {

QString listed(const PortInfo &port)
{
    QStringList details;
    if (!port.manufacturer.isEmpty())
        details << port.manufacturer;
    if (!port.serialNumber.isEmpty())
        details << QStringLiteral("シリアル番号 %1").arg(port.serialNumber);
    QString about = port.description;
    if (!details.isEmpty())
        about += QStringLiteral("（%1）").arg(details.join(QStringLiteral("、")));
    // The name first, as it is typed; what it is on a line of its own.
    return about.isEmpty() ? port.systemName : port.systemName + QStringLiteral("\n    ") + about;
}

QString problem(const PortAddress &address, const QString &typed)
{
    const QString shown = typed.trimmed();
    switch (address.problem) {
    case PortAddress::Problem::Empty:
        return QStringLiteral("アドレスを入力して下さい（例: /dev/ttyUSB0、tcp://192.168.1.20:4001）。");
    case PortAddress::Problem::NeedsHostAndPort:
        return QStringLiteral("「%1」にはホスト名とポート番号が要ります（例: tcp://192.168.1.20:4001）。").arg(shown);
    case PortAddress::Problem::Ipv6NeedsBrackets:
        return QStringLiteral("「%1」: IPv6 アドレスは [ ] で囲んで下さい（例: tcp://[::1]:2000）。").arg(shown);
    case PortAddress::Problem::PortOutOfRange:
        return QStringLiteral("「%1」: ポート番号は 1～65535 で指定して下さい。").arg(shown);
    case PortAddress::Problem::UnknownKind:
        return QStringLiteral("「%1」: ネットワークのアドレスは tcp://、rfc2217:// か ssh:// で始めて下さい。").arg(shown);
    case PortAddress::Problem::NeedsFarPort:
        return QStringLiteral("「%1」には遠隔側のポートが要ります（例: ssh://pi@site3/dev/ttyUSB0）。").arg(shown);
    case PortAddress::Problem::NumberOutOfRange:
        return QStringLiteral("「%1」: 番号で指定できるのは 1～8 です。").arg(shown);
    case PortAddress::Problem::None: break;
    }
    return QStringLiteral("「%1」はポートのアドレスとして使えません。").arg(shown);
}

} // namespace PortWords
