#pragma once

#include <QString>

// What the operator is told about the far side, in Japanese, with ssh's
// own words where ssh said why.
namespace FarWords {

// A link ended before the far side said hello: who is to blame, from
// ssh's exit code and its error output.
QString startFailed(const QString &host, int exitCode, const QString &sshSaid);
// The far side started and never said hello.
QString noHello(const QString &host);
// The far side speaks another version of the protocol.
QString wrongVersion(int theirs, int ours);
// The far side said something that is no part of the protocol.
QString notUnderstood(const QString &said);
// The session broke during a write: nothing more is claimed.
QString lostDuringWrite();
// The session broke while no write ran.
QString lost(const QString &sshSaid);
// The far side would not take one of our requests.
QString refused(const QString &why);

} // namespace FarWords
