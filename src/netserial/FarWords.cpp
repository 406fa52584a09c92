#include "FarWords.h"

#include <QStringList>

namespace FarWords {

namespace {

// ssh's last lines: its reason comes last, after any banner.
QString tail(const QString &said)
{
    QStringList lines = said.split(u'\n', Qt::SkipEmptyParts);
    for (QString &line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    while (lines.size() > 6)
        lines.removeFirst();
    return lines.join(u'\n');
}

QString withWords(const QString &sentence, const QString &said)
{
    const QString words = tail(said);
    return words.isEmpty() ? sentence : sentence + QStringLiteral("\r\n") + words;
}

bool says(const QString &said, std::initializer_list<const char *> phrases)
{
    for (const char *phrase : phrases)
        if (said.contains(QLatin1String(phrase), Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace

QString startFailed(const QString &host, int exitCode, const QString &sshSaid)
{
    if (exitCode == -1)
        return withWords(QStringLiteral("ssh を起動できません。ORVEX_SSH を確認して下さい。"), sshSaid);
    if (says(sshSaid, {"host key", "HOST IDENTIFICATION", "Host key verification failed"}))
        return withWords(QStringLiteral("%1 のホスト鍵を確認できないため接続しません。").arg(host), sshSaid);
    if (says(sshSaid, {"Permission denied", "Too many authentication failures"}))
        return withWords(QStringLiteral("%1 が鍵を受け付けません。").arg(host), sshSaid);
    if (exitCode == 127 || (exitCode != 255 && says(sshSaid, {"command not found"})))
        return withWords(QStringLiteral("%1 に orvex が見つかりません（ORVEX_REMOTE_PROGRAM で指定できます）。").arg(host),
                         sshSaid);
    if (exitCode == 255)
        return withWords(QStringLiteral("%1 に接続できません。").arg(host), sshSaid);
    if (exitCode == 2 || says(sshSaid, {"unknown command"}))
        return withWords(QStringLiteral("%1 の orvex は古く、遠隔での送受信に対応していません。").arg(host), sshSaid);
    return withWords(QStringLiteral("%1 の orvex が応答せずに終了しました（終了コード %2）。").arg(host).arg(exitCode),
                     sshSaid);
}

QString noHello(const QString &host)
{
    return QStringLiteral("%1 の orvex が応答しません。接続を閉じます。").arg(host);
}

QString wrongVersion(int theirs, int ours)
{
    return theirs < ours
               ? QStringLiteral("遠隔側の orvex は古い手順（版 %1）で話します。この orvex は版 %2 です。遠隔側を更新して下さい。")
                     .arg(theirs)
                     .arg(ours)
               : QStringLiteral("遠隔側の orvex は新しい手順（版 %1）で話します。この orvex は版 %2 です。こちらを更新して下さい。")
                     .arg(theirs)
                     .arg(ours);
}

QString notUnderstood(const QString &said)
{
    return withWords(QStringLiteral("遠隔側から読めない応答が届きました。接続を閉じます。"), said.left(200));
}

QString lostDuringWrite()
{
    return QStringLiteral("接続が切れました。遠隔側での結果を確認します");
}

QString lost(const QString &sshSaid)
{
    return withWords(QStringLiteral("遠隔コンピューターとの接続が切れました。"), sshSaid);
}

QString refused(const QString &why)
{
    return withWords(QStringLiteral("遠隔側の orvex が要求を受け付けません。"), why);
}

} // namespace FarWords
