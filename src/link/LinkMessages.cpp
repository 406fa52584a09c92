#include "LinkMessages.h"

#include <QRegularExpression>
#include <QStringList>

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
    // A round trip never timed is not shown as one of 0 ms.
    const QString measured = roundTripMs >= 0 ? QStringLiteral("（往復 %1 ms）").arg(roundTripMs) : QString();
    return QStringLiteral("通信がタイムアウトしました。\r\n%1 までのネットワークが時間内に応答しませんでした"
                          "%2。\r\nネットワークと接続先を確認して下さい。")
        .arg(address, measured);
}

QString lineFault(LineFault fault, int expected, int received)
{
    switch (fault) {
    case LineFault::Echo:
        return QStringLiteral("送ったデータがそのまま返ってきます。ケーブルの結線（折り返し）を確認して下さい。");
    case LineFault::Shape:
        return QStringLiteral("接続先の機器が本体とは違う形で応答しています（%1 バイトの応答に %2 バイト）。"
                              "\r\n接続先の機器と通信速度を確認して下さい。")
            .arg(expected)
            .arg(received);
    case LineFault::Telnet:
        return QStringLiteral("本体以外のデータが混じっています。ケーブル、通信速度、接続先を確認して下さい。"
                              "\r\n接続先が telnet の制御データを送ってきました。rfc2217:// で接続するか、"
                              "サーバーのポートを raw（tcp）にして下さい。");
    case LineFault::Extra:
    case LineFault::None: break;
    }
    return QStringLiteral("本体以外のデータが混じっています。ケーブル、通信速度、接続先を確認して下さい。");
}

QString reconnecting(const QString &address, bool silent)
{
    return silent ? QStringLiteral("%1 から応答がないため、接続し直しています。").arg(address)
                  : QStringLiteral("%1 との接続が切れたため、接続し直しています。").arg(address);
}

QString resentAndReconnected(int resent, int reconnects)
{
    if (resent <= 0 && reconnects <= 0)
        return {};
    if (reconnects <= 0)
        return QStringLiteral("この書き込みでは %1 フレームを送り直しました。").arg(resent);
    return QStringLiteral("この書き込みでは %1 フレームを送り直し、%2 回接続し直しました。").arg(resent).arg(reconnects);
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
    detail = detail.arg(device);
    text += QStringLiteral("\r\n") + detail;
    // A reason already in the operator's words is said once, and a path
    // with nothing at it has no more to say than that.
    if (!reason.isEmpty() && !detail.contains(reason) && failure != OpenFailure::Missing)
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
    case CommEvent::OpenFailed:
    case CommEvent::ForeignData: return {};
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

QString unitLost(const QString &unit, const QString &warning)
{
    // What went wrong, without the advice for a window ("…して下さい。"):
    // a watch asks again by itself.
    QString reason;
    for (const QString &line : warning.split(QRegularExpression(QStringLiteral("\\r?\\n")), Qt::SkipEmptyParts)) {
        if (!line.trimmed().endsWith(QStringLiteral("下さい。")))
            reason += line.trimmed();
    }
    if (reason.endsWith(QStringLiteral("。")))
        reason.chop(1);
    if (reason.isEmpty())
        reason = QStringLiteral("応答がありません");
    return QStringLiteral("%1 に接続できません（%2）。再接続を待っています").arg(unit, reason);
}

QString unitBack(const QString &unit)
{
    return QStringLiteral("%1 に再接続しました").arg(unit);
}

} // namespace LinkMessages
