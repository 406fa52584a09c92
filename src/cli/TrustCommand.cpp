// orvex trust ADDRESS: what a TLS device server shows, and what is trusted
// for it.

#include "Commands.h"
#include "netserial/PortAddress.h"
#include "platform/TlsProbe.h"
#include "platform/TlsTrustStore.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QSslCertificate>
#include <QTextStream>

namespace {

QString names(const QStringList &parts)
{
    return parts.isEmpty() ? QStringLiteral("(none)") : parts.join(QStringLiteral(", "));
}

QString distinguished(const QSslCertificate &c, bool issuer)
{
    const auto info = [&](QSslCertificate::SubjectInfo field) {
        return issuer ? c.issuerInfo(field) : c.subjectInfo(field);
    };
    QStringList parts;
    for (const auto &[field, label] : {std::pair{QSslCertificate::CommonName, "CN"},
                                       std::pair{QSslCertificate::Organization, "O"},
                                       std::pair{QSslCertificate::OrganizationalUnitName, "OU"},
                                       std::pair{QSslCertificate::CountryName, "C"}}) {
        for (const QString &value : info(field))
            parts << QLatin1String(label) + u'=' + value;
    }
    return names(parts);
}

QString verdictWords(const TlsVerdict &verdict)
{
    using Kind = TlsVerdict::Kind;
    switch (verdict.kind) {
    case Kind::Trusted: return verdict.pinned.isEmpty() ? QStringLiteral("yes (a CA trusted here vouches for it)")
                                                        : QStringLiteral("yes (pinned for this address)");
    case Kind::Unknown: return QStringLiteral("no (%1)").arg(verdict.systemText);
    case Kind::Changed: return QStringLiteral("NO: it is not the certificate pinned for this address (%1)").arg(verdict.pinned);
    case Kind::Expired: return QStringLiteral("no, it has expired");
    case Kind::NotYetValid: return QStringLiteral("no, it is not valid yet");
    case Kind::WrongName: return QStringLiteral("no, it is for another name (%1)").arg(verdict.systemText);
    }
    return {};
}

void show(QTextStream &out, const QSslCertificate &c)
{
    out << "  subject:  " << distinguished(c, false) << '\n'
        << "  names:    " << names(c.subjectAlternativeNames().values()) << '\n'
        << "  issuer:   " << distinguished(c, true) << '\n'
        << "  valid:    " << c.effectiveDate().toUTC().toString(Qt::ISODate) << " to "
        << c.expiryDate().toUTC().toString(Qt::ISODate) << '\n'
        << "  sha256 Fingerprint=" << TlsTrustStore::fingerprint(c) << '\n';
}

// The first problem of naming `cert` and `key` as the client certificate.
QString clientProblem(const QString &cert, const QString &key)
{
    TlsTrust trial;
    trial.clientCert = cert;
    trial.clientKey = key;
    QSslConfiguration config;
    QString problem;
    trial.configure(config, problem);
    return problem;
}

} // namespace

int Cli::trust(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows a TLS device server's certificate and keeps what is trusted for it."));
    parser.addPositionalArgument(QStringLiteral("address"), QStringLiteral("tls://HOST:PORT or rfc2217+tls://HOST:PORT"));
    const QCommandLineOption yes(QStringLiteral("yes"), QStringLiteral("Trust (pin) the certificate the server shows now."));
    const QCommandLineOption ca(QStringLiteral("ca"), QStringLiteral("Trust the certificates this CA signed."), QStringLiteral("FILE"));
    const QCommandLineOption cert(QStringLiteral("cert"), QStringLiteral("Show this client certificate."), QStringLiteral("FILE"));
    const QCommandLineOption key(QStringLiteral("key"), QStringLiteral("The client certificate's key."), QStringLiteral("FILE"));
    const QCommandLineOption forget(QStringLiteral("forget"), QStringLiteral("Remove what is kept for the server."));
    parser.addOptions({yes, ca, cert, key, forget});
    if (!parser.parse(QStringList{QStringLiteral("orvex trust")} + args))
        return badArguments(QStringLiteral("trust: ") + parser.errorText());
    if (parser.positionalArguments().size() != 1)
        return badArguments(QStringLiteral("trust needs one ADDRESS (tls://HOST:PORT or rfc2217+tls://HOST:PORT)"));
    const PortAddress address = PortAddress::parse(parser.positionalArguments().first());
    if (!address.isEncrypted())
        return badArguments(QStringLiteral("trust: \"%1\" is no TLS address (tls://HOST:PORT or rfc2217+tls://HOST:PORT)")
                                .arg(parser.positionalArguments().first()));
    if (parser.isSet(cert) != parser.isSet(key))
        return badArguments(QStringLiteral("trust: --cert and --key go together"));
    if (parser.isSet(forget) && (parser.isSet(yes) || parser.isSet(ca) || parser.isSet(cert)))
        return badArguments(QStringLiteral("trust: --forget goes alone"));

    TlsTrustStore store;
    if (!store.load()) {
        error(QStringLiteral("orvex: ") + store.error());
        return 1;
    }
    const QString endpoint = address.endpoint();
    TlsTrust trust = store.trust(endpoint);
    QTextStream out(stdout);
    const auto saved = [&] {
        store.setTrust(endpoint, trust);
        if (store.save())
            return true;
        error(QStringLiteral("orvex: ") + store.error());
        return false;
    };
    if (parser.isSet(forget)) {
        trust = {};
        if (!saved())
            return 1;
        out << "nothing is trusted for " << endpoint << " any more (" << store.path() << ")" << Qt::endl;
        return 0;
    }
    if (parser.isSet(ca)) {
        const QString file = parser.value(ca);
        const QList<QSslCertificate> cas = QSslCertificate::fromPath(file, QSsl::Pem);
        if (cas.isEmpty()) {
            error(QStringLiteral("orvex: %1 holds no PEM certificate").arg(file));
            return 1;
        }
        trust.siteCa.clear();
        for (const QSslCertificate &c : cas)
            trust.siteCa += c.toPem();
    }
    if (parser.isSet(cert)) {
        const QString certFile = QFileInfo(parser.value(cert)).absoluteFilePath();
        const QString keyFile = QFileInfo(parser.value(key)).absoluteFilePath();
        if (const QString problem = clientProblem(certFile, keyFile); !problem.isEmpty()) {
            error(QStringLiteral("orvex: ") + problem);
            return 1;
        }
        trust.clientCert = certFile;
        trust.clientKey = keyFile;
    }
    // What was named is kept whether or not the server answers now.
    if ((parser.isSet(ca) || parser.isSet(cert)) && !saved())
        return 1;

    const TlsProbe probe = TlsProbe::run(address, trust);
    out << "server " << address.toString() << Qt::endl;
    if (probe.chain.isEmpty()) {
        error(QStringLiteral("orvex: %1 showed no certificate: %2").arg(address.toString(), probe.failure));
        return 1;
    }
    show(out, probe.chain.first());
    for (const QSslCertificate &issuer : probe.chain.mid(1)) {
        out << "signed by:\n";
        show(out, issuer);
    }
    TlsVerdict verdict = TlsVerdict::judge(probe.chain.first(), probe.errors, trust);
    out << "  trusted:  " << verdictWords(verdict) << Qt::endl;
    if (!probe.failure.isEmpty())
        out << "  the server then refused the connection: " << probe.failure << Qt::endl;

    if (parser.isSet(yes)) {
        if (!verdict.pinned.isEmpty() && verdict.kind == TlsVerdict::Kind::Changed)
            out << "replacing the certificate pinned before: sha256 Fingerprint=" << verdict.pinned << Qt::endl;
        trust.pinned = verdict.fingerprint;
        if (!saved())
            return 1;
        out << "pinned for " << endpoint << ": sha256 Fingerprint=" << trust.pinned << " (" << store.path() << ")"
            << Qt::endl;
        verdict = TlsVerdict::judge(probe.chain.first(), probe.errors, trust);
    } else if (verdict.kind == TlsVerdict::Kind::Unknown || verdict.kind == TlsVerdict::Kind::Changed) {
        out << "to trust it, check the fingerprint with the server's administrator, then:\n  orvex trust "
            << address.toString() << " --yes" << Qt::endl;
    }
    return verdict.trusted() && probe.failure.isEmpty() ? 0 : 1;
}
