#include "PortAddressWords.h"

#include "PortAddress.h"

namespace PortAddressWords {

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
        return QStringLiteral("「%1」: ネットワークのアドレスは tcp://、rfc2217://、tls://、rfc2217+tls:// か ssh:// で始めて下さい。").arg(shown);
    case PortAddress::Problem::NeedsFarPort:
        return QStringLiteral("「%1」には遠隔側のポートが要ります（例: ssh://pi@site3/dev/ttyUSB0）。").arg(shown);
    case PortAddress::Problem::NumberOutOfRange:
        return QStringLiteral("「%1」: 番号で指定できるのは 1～8 です。").arg(shown);
    case PortAddress::Problem::None: break;
    }
    return QStringLiteral("「%1」はポートのアドレスとして使えません。").arg(shown);
}

QString deviceProblem(const PortAddress &address, bool mustExist)
{
    switch (address.deviceNode()) {
    case PortAddress::DeviceNode::Folder:
        return QStringLiteral("「%1」はフォルダです。シリアルポートではありません。").arg(address.device);
    case PortAddress::DeviceNode::RegularFile:
        return QStringLiteral("「%1」は普通のファイルです。シリアルポートではありません。").arg(address.device);
    case PortAddress::DeviceNode::Missing:
        if (mustExist)
            return QStringLiteral("「%1」はありません。接続を確かめて下さい。").arg(address.device);
        break;
    case PortAddress::DeviceNode::NotADevice:
    case PortAddress::DeviceNode::Other: break;
    }
    return {};
}

} // namespace PortAddressWords
