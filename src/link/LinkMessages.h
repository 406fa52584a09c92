#pragma once

#include "ReplyCheck.h"
#include "SerialPort.h"

#include <QString>

// Every text the device link shows the operator.
namespace LinkMessages {

QString errorTitle();          // title of every warning box of the link
QString screenSending(int channel); // channel 1..8
QString characterSending(int channel);
QString finished();
QString timedOut();
// A network port whose path stopped answering: the address and the round
// trip measured on it (ms; none while no reply was timed, -1), since the
// unit's cable is not what to check.
QString networkTimedOut(const QString &address, int roundTripMs);
// What came back was not the unit's own answer, and the likely cause;
// `expected` and `received` are the bytes of the last exchange.
QString lineFault(LineFault fault, int expected, int received);
// Said when it happens: the connection to `address` broke (or answered
// nothing for a while: `silent`) and is being made again.
QString reconnecting(const QString &address, bool silent);
// Said once when a write ends: frames sent again and connections made again.
QString resentAndReconnected(int resent, int reconnects);
// The port `device` would not open: what the operator can check, then
// why in the system's words (`reason`). For a network port (`network`)
// `device` is its address; with ServerRefused `reason` is what the server
// said, already in words.
QString cannotOpen(const QString &device, OpenFailure failure, const QString &reason, bool network = false);
// Why a TLS server was not used, whole sentences after the address.
enum class TlsRefusal {
    Unknown,          // a certificate nobody trusts for the address
    Expired,
    NotYetValid,
    WrongName,        // signed by a trusted CA, for another name
    Handshake,        // the handshake failed (a plain server, no common protocol)
    NoAnswer,         // no handshake within its time: probably a plain server
    ClientWanted,     // the server wants a client certificate we do not have
    ClosedAfterHello, // the server closed once it had shown its certificate and we none
    ClientUnusable,   // ours cannot be used (`systemText` says why)
    StoreUnusable,    // the file of trust cannot be used (`systemText` says why)
    PlainAgainstTls,  // a plain connection the server dropped at our first bytes
};
// `systemText` goes in brackets; with Unknown, `fingerprint` is shown with
// the command that trusts it.
QString tlsRefused(const QString &address, TlsRefusal why, const QString &systemText,
                   const QString &fingerprint = QString());
// A pinned certificate replaced by another: both fingerprints.
QString certificateChanged(const QString &address, const QString &pinned, const QString &shown);
// The window's question after an unknown certificate.
QString trustQuestion();
QString trustButton();

// The warning for a line event; empty for events that are not errors.
QString lineError(CommEvent event);
// A cell whose code cannot be expressed for its channel; channel, row and
// column counted from 1 as the editor shows them.
QString unsendableCode(int channel, int row, int column, int code);

// A watch lost `unit` (its name or address): why, from the warning the
// link gave (`warning`, its advice left out), and that the watch goes on.
QString unitLost(const QString &unit, const QString &warning);
// The unit a watch lost answers again.
QString unitBack(const QString &unit);

} // namespace LinkMessages
