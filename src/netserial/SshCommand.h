#pragma once

#include <QString>
#include <QStringList>

struct PortAddress;

// The command line that starts the far side of an ssh:// address with the
// user's own ssh, as git and rsync start theirs: ssh non-interactive
// (BatchMode: the user's keys, agent, configuration and known hosts, never
// a question), then one remote command for the far computer's shell.
struct SshCommand
{
    QString program;
    QStringList arguments;

    // `sshCommand` is ORVEX_SSH (another ssh command, such as
    // "ssh -F config", split into words as a shell would split them but
    // never run through one; empty: "ssh"), `remoteProgram` is
    // ORVEX_REMOTE_PROGRAM (the far program when it is not `orvex`, split
    // the same way). Empty program when `sshCommand` has no words.
    static SshCommand build(const PortAddress &address, const QString &sshCommand, const QString &remoteProgram);

    // ssh joins its remote arguments into one line that the far user's
    // shell reads, so every word goes quoted for a POSIX shell: nothing in
    // it (";", "$(...)", quotes, spaces) is anything but the word itself.
    static QString quoteWord(const QString &word);
    // `text` split into words as a POSIX shell splits them (blanks between
    // words; '...', "..." and backslash quoting), with no expansion of any
    // kind; empty when a quote is left open.
    static QStringList splitWords(const QString &text);
};
