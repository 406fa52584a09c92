#include "SshCommand.h"

#include "PortAddress.h"


QString SshCommand::quoteWord(const QString &word)
{
    // Inside single quotes a POSIX shell takes every character as it is
    // except the single quote itself, which closes, is given escaped, and
    // opens again.
    QString quoted = word;
    quoted.replace(u'\'', QLatin1String("'\\''"));
    return u'\'' + quoted + u'\'';
}

QStringList SshCommand::splitWords(const QString &text)
{
    QStringList words;
    QString word;
    bool inWord = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inWord)
                words << std::exchange(word, QString());
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == u'\\') {
            if (++i < text.size() && text[i] != u'\n')
                word += text[i];
        } else if (c == u'\'') {
            const qsizetype end = text.indexOf(u'\'', i + 1);
            if (end < 0)
                return {};
            word += text.mid(i + 1, end - i - 1);
            i = end;
        } else if (c == u'"') {
            // Inside double quotes a backslash quotes only these.
            for (++i;; ++i) {
                if (i >= text.size())
                    return {};
                if (text[i] == u'"')
                    break;
                if (text[i] == u'\\' && i + 1 < text.size() && QStringView(u"$`\"\\\n").contains(text[i + 1]))
                    ++i;
                word += text[i];
            }
        } else {
            word += c;
        }
    }
    if (inWord)
        words << word;
    return words;
}

SshCommand SshCommand::build(const PortAddress &address, const QString &sshCommand, const QString &remoteProgram)
{
    SshCommand command;
    QStringList ssh = splitWords(sshCommand.trimmed().isEmpty() ? QStringLiteral("ssh") : sshCommand);
    if (ssh.isEmpty())
        return command;
    command.program = ssh.takeFirst();
    command.arguments = ssh;
    // Never a password or host-key question on a terminal nobody watches,
    // no terminal on the far side (the channel carries bytes), and a path
    // that stops carrying is noticed within about 15 s.
    command.arguments << QStringLiteral("-T") << QStringLiteral("-o") << QStringLiteral("BatchMode=yes")
                      << QStringLiteral("-o") << QStringLiteral("ServerAliveInterval=5") << QStringLiteral("-o")
                      << QStringLiteral("ServerAliveCountMax=3");
    if (address.port)
        command.arguments << QStringLiteral("-p") << QString::number(address.port);
    if (!address.user.isEmpty())
        command.arguments << QStringLiteral("-l") << address.user;
    command.arguments << QStringLiteral("--") << address.host;

    QStringList far = splitWords(remoteProgram);
    if (far.isEmpty())
        far << QStringLiteral("orvex");
    far << QStringLiteral("serve") << QStringLiteral("--stdio") << QStringLiteral("--port") << address.device;
    QStringList quoted;
    for (const QString &word : far)
        quoted << quoteWord(word);
    command.arguments << quoted.join(u' ');
    return command;
}
