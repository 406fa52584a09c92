#pragma once

#include "TlsTrustStore.h"

#include <QList>
#include <QSslCertificate>
#include <QSslError>
#include <QString>

struct PortAddress;

// Shakes hands with a TLS server only to see its certificate: nothing is
// sent inside the connection, which ends as soon as the certificate has
// been judged. For `orvex trust`.
struct TlsProbe
{
    QList<QSslCertificate> chain; // the server's, its own first; empty when none came
    QList<QSslError> errors;      // what the system found wrong with it
    QString failure;              // why no certificate came, the system's words

    // Waits at most `timeoutMs`.
    static TlsProbe run(const PortAddress &address, const TlsTrust &trust, int timeoutMs = 5000);
};
