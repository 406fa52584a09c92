#include "ServerNotice.h"

namespace {

// ser2net's texts for a connection it will not serve, and what each means
// for the operator.
struct Known
{
    const char *text;
    const char *reason;
    const char *advice = ""; // what to do, after the server's words
};
constexpr Known KnownTexts[] = {
    // Often our own connection of a path that died: the server has not
    // noticed yet, and refuses us in its name.
    {"Port already in use", "まだ前の接続を保っています",
     "。その接続は、このコンピューターが前に使って切れたもののこともあります。サーバーがそれを手放すまで"
     "待つか、サーバーでその接続を切ってからやり直して下さい"},
    {"Port's device already in use", "装置を他のポートが使用中です"},
    {"Port's device failed open", "装置を開けません"},
    {"Device open failure", "装置を開けません"},
    {"Accessed denied due to your net address", "この接続元からの接続を許可していません"},
    {"Port disabled", "ポートを無効にしています"},
    {"Port closing", "ポートを閉じているところです"},
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

QString shown(const QByteArray &bytes)
{
    qsizetype begin = 0, end = bytes.size();
    while (begin < end && isBlank(bytes[begin]))
        ++begin;
    while (end > begin && isBlank(bytes[end - 1]))
        --end;
    QString out;
    qsizetype i = begin;
    for (; i < end; ++i) {
        const char c = bytes[i];
        QString piece;
        if (isBlank(c))
            piece = out.endsWith(u' ') ? QString() : QStringLiteral(" ");
        else if (c >= 0x20 && c < 0x7f)
            piece = QLatin1Char(c);
        else
            piece = QStringLiteral("\\x") + QString::number(quint8(c), 16).rightJustified(2, u'0').toUpper();
        if (out.size() + piece.size() > ServerNotice::MaxShown)
            break;
        out += piece;
    }
    if (i < end)
        out += u'…';
    return out;
}

} // namespace

namespace ServerNotice {

QString describe(const QByteArray &bytes)
{
    for (const Known &known : KnownTexts) {
        const qsizetype at = bytes.indexOf(known.text);
        if (at < 0)
            continue;
        // The server's words from its message to the end of that line; a
        // telnet negotiation before them is not shown.
        qsizetype end = at;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        return QString::fromUtf8(known.reason) + u'（' + shown(bytes.mid(at, end - at)) + u'）'
               + QString::fromUtf8(known.advice);
    }
    const QString words = shown(bytes);
    const QString reason = QStringLiteral("応答の前に不明なデータを送ってきました");
    return words.isEmpty() ? reason : reason + u'（' + words + u'）';
}

} // namespace ServerNotice
