#include "LinkMessages.h"

namespace LinkMessages {

QString errorTitle()
{
    return QStringLiteral("通信エラー");
}

QString screenSending(int channel)
{
    return QStringLiteral("チャンネル%1画面データ送信中です…暫くお待ち下さい。").arg(channel);
}

QString characterSending(int channel)
{
    return QStringLiteral("チャンネル%1文字データ送信中です…暫くお待ち下さい。").arg(channel);
}

QString finished()
{
    return QStringLiteral("データ送信終了しました。");
}

QString timedOut()
{
    return QStringLiteral("通信がタイムアウトしました。\r\n本体の電源、ケーブル、通信ポートを確認して下さい。");
}

QString networkTimedOut(const QString &address, int roundTripMs)
{
    return QStringLiteral("通信がタイムアウトしました。\r\n%1 までのネットワークが時間内に応答しませんでした"
                          "（往復 %2 ms）。\r\nネットワークと接続先を確認して下さい。")
        .arg(address)
        .arg(roundTripMs);
}

QString cannotOpen(const QString &device, OpenFailure failure, const QString &reason, bool network)
{
    QString text = network ? QStringLiteral("通信ポートを開けません。\r\nネットワークと接続先を確認して下さい。")
                           : QStringLiteral("通信ポートを開けません。\r\nシリアルポートを確認して下さい。");
    if (device.isEmpty() && reason.isEmpty())
        return text;
    QString detail;
    switch (failure) {
    case OpenFailure::Missing: detail = QStringLiteral("%1 が見つかりません"); break;
    case OpenFailure::Busy: detail = QStringLiteral("%1 は他のプログラムが使っています"); break;
    case OpenFailure::Denied: detail = QStringLiteral("%1 を開く権限がありません"); break;
    case OpenFailure::Refused: detail = QStringLiteral("%1 に接続を拒否されました"); break;
    case OpenFailure::UnknownHost: detail = QStringLiteral("%1 のホストが見つかりません"); break;
    case OpenFailure::NoAnswer: detail = QStringLiteral("%1 から応答がありません"); break;
    case OpenFailure::Reset: detail = QStringLiteral("%1 との接続が相手側から切られました"); break;
    case OpenFailure::Tls: return text + QStringLiteral("\r\n") + reason;
    case OpenFailure::ServerRefused:
    {
        // The server's own words are the whole reason, a sentence of its
        // own or a clause.
        const QString said = reason.endsWith(QStringLiteral("。")) ? reason : reason + QStringLiteral("。");
        return text + QStringLiteral("\r\n%1 は%2").arg(device, said);
    }
    case OpenFailure::None:
    case OpenFailure::Other: detail = QStringLiteral("%1 を開けません"); break;
    }
    text += QStringLiteral("\r\n") + detail.arg(device);
    if (!reason.isEmpty())
        text += QStringLiteral("（%1）").arg(reason);
    text += QStringLiteral("。");
#ifdef Q_OS_LINUX
    // Serial devices belong to the dialout group; a user outside it is
    // refused whatever the cable does.
    if (failure == OpenFailure::Denied)
        text += QStringLiteral("\r\nユーザーを dialout グループに加えて（sudo usermod -aG dialout $USER）、"
                               "ログインし直して下さい。");
#endif
    return text;
}

namespace {

QString bracketed(const QString &systemText)
{
    return systemText.isEmpty() ? QString() : QStringLiteral("（%1）").arg(systemText);
}

// The other scheme for the same server: tls:// for tcp://, and back.
QString otherScheme(const QString &address, bool toTls)
{
    if (toTls)
        return address.startsWith(QLatin1String("rfc2217://")) ? QStringLiteral("rfc2217+tls://") : QStringLiteral("tls://");
    return address.startsWith(QLatin1String("rfc2217+tls://")) ? QStringLiteral("rfc2217://") : QStringLiteral("tcp://");
}

} // namespace

QString tlsRefused(const QString &address, TlsRefusal why, const QString &systemText, const QString &fingerprint)
{
    const QString said = bracketed(systemText);
    switch (why) {
    case TlsRefusal::Unknown:
        return QStringLiteral("%1 の証明書は信頼されていません%2。\r\nsha256 Fingerprint=%3\r\n"
                              "この証明書に間違いがなければ、orvex trust %1 --yes で信頼して下さい。")
            .arg(address, said, fingerprint);
    case TlsRefusal::Expired:
        return QStringLiteral("%1 の証明書は有効期限が切れています%2。").arg(address, said);
    case TlsRefusal::NotYetValid:
        return QStringLiteral("%1 の証明書はまだ有効になっていません%2。時計を確認して下さい。").arg(address, said);
    case TlsRefusal::WrongName:
        return QStringLiteral("%1 の証明書は別のホスト名のものです%2。").arg(address, said);
    case TlsRefusal::Handshake:
        return QStringLiteral("%1 と暗号化した接続を確立できません%2。TLS を使わないサーバーなら %3 を使って下さい。")
            .arg(address, said, otherScheme(address, false));
    case TlsRefusal::NoAnswer:
        return QStringLiteral("%1 が TLS で応答しません。TLS を使わないサーバーなら %2 を使って下さい。")
            .arg(address, otherScheme(address, false));
    case TlsRefusal::ClientWanted:
        return QStringLiteral("%1 はクライアント証明書を求めています%2。\r\n"
                              "orvex trust %1 --cert 証明書 --key 鍵 で指定して下さい。")
            .arg(address, said);
    case TlsRefusal::ClosedAfterHello:
        return QStringLiteral("%1 は証明書を示したあと接続を切りました%2。\r\n"
                              "クライアント証明書を求めるサーバーなら、orvex trust %1 --cert 証明書 --key 鍵 で指定して下さい。")
            .arg(address, said);
    case TlsRefusal::ClientUnusable:
        return QStringLiteral("%1 に示すクライアント証明書を使えません%2。").arg(address, said);
    case TlsRefusal::StoreUnusable:
        return QStringLiteral("%1 を信頼してよいか確かめられません%2。").arg(address, said);
    case TlsRefusal::PlainAgainstTls:
        return QStringLiteral("%1 は最初の送信で接続を切りました%2。TLS のサーバーなら %3 を使って下さい。")
            .arg(address, said, otherScheme(address, true));
    }
    return {};
}

QString certificateChanged(const QString &address, const QString &pinned, const QString &shown)
{
    return QStringLiteral("警告: %1 の証明書が、信頼した証明書と違います。なりすましの恐れがあります。\r\n"
                          "信頼した証明書: sha256 Fingerprint=%2\r\n"
                          "今回の証明書:   sha256 Fingerprint=%3\r\n"
                          "サーバーの証明書を入れ替えたことが確かな場合だけ、orvex trust %1 --yes で新しい証明書を信頼して下さい。")
        .arg(address, pinned, shown);
}

QString trustQuestion()
{
    return QStringLiteral("上の指紋がサーバーの証明書のものに間違いないことを確かめてから信頼して下さい。\r\n"
                          "信頼すると、次の操作からこのサーバーにつながります。");
}

QString trustButton()
{
    return QStringLiteral("この証明書を信頼する");
}

QString lineError(CommEvent event)
{
    switch (event) {
    case CommEvent::SendBelowThreshold:
    case CommEvent::DataReceived:
    case CommEvent::CtsChanged:
    case CommEvent::DsrChanged:
    case CommEvent::CarrierChanged:
    case CommEvent::Ring:
    case CommEvent::EndOfFile:
    case CommEvent::Opened:
    case CommEvent::OpenFailed: return {};
    case CommEvent::Break: return QStringLiteral("中断信号受信");
    case CommEvent::Framing: return QStringLiteral("フレームエラー");
    case CommEvent::Overrun: return QStringLiteral("オーバーランエラー");
    case CommEvent::ReceiveOverflow: return QStringLiteral("受信バッファオーバー");
    case CommEvent::ReceiveParity: return QStringLiteral("受信パリティエラー");
    case CommEvent::TransmitFull: return QStringLiteral("送信バッファフル");
    case CommEvent::ConfigUnreadable: return QStringLiteral("DCB取得エラー");
    case CommEvent::Unknown: break;
    }
    return QStringLiteral("未定義エラー発生");
}

QString unsendableCode(int channel, int row, int column, int code)
{
    return QStringLiteral("チャンネル%1の画面の%2行%3列の文字コード%4は、このチャンネルの文字ではないため送信できません。"
                          "\r\nデータは送信されませんでした。")
        .arg(channel)
        .arg(row)
        .arg(column)
        .arg(code);
}

} // namespace LinkMessages
