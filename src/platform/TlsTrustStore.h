#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QString>

// What the operator chose to trust for one TLS server, kept under its
// endpoint (HOST:PORT): the one certificate pinned for it, as SSH keeps
// known hosts; the site's own CAs whose certificates it may show; and the
// client certificate shown to it when it asks for one. Never part of a
// title or a schedule.
struct TlsTrust
{
    QString pinned;        // SHA-256 fingerprint, "AB:CD:..."
    QByteArray siteCa;     // PEM, one or more certificates
    QString clientCert;    // absolute paths
    QString clientKey;

    bool isEmpty() const { return pinned.isEmpty() && siteCa.isEmpty() && clientCert.isEmpty(); }
    // The socket's configuration for this server: TLS 1.2 or newer, the
    // system's CAs and the site's, the client certificate. False with the
    // reason (`problem`, already in words) when the client certificate or
    // its key cannot be used.
    bool configure(QSslConfiguration &config, QString &problem) const;
};

// How the server's certificate stands against what was trusted for it.
struct TlsVerdict
{
    enum class Kind { Trusted, Unknown, Changed, Expired, NotYetValid, WrongName };
    Kind kind = Kind::Unknown;
    QString fingerprint;   // of the certificate the server showed
    QString pinned;        // Changed: the one kept for it
    QString systemText;    // the system's words for the decisive fault

    bool trusted() const { return kind == Kind::Trusted; }
    // A pinned certificate is trusted for its address whatever signed it
    // and whatever name it bears, but never once it has expired, and a
    // different one is never taken in its place.
    static TlsVerdict judge(const QSslCertificate &leaf, const QList<QSslError> &errors, const TlsTrust &trust);
};

// The file of every server's TLS trust: $XDG_CONFIG_HOME/orvex/tls-trust.json
// (~/.config/orvex/), written whole and only the owner may read or write it.
class TlsTrustStore
{
public:
    static QString defaultPath();
    explicit TlsTrustStore(QString path = defaultPath());

    // Reads the file; a missing one is an empty store. False with error()
    // when it cannot be read or others may write it (they could trust a
    // server in the operator's name).
    bool load();
    // False with error() when it could not be written.
    bool save();
    QString error() const { return m_error; }
    QString path() const { return m_path; }

    TlsTrust trust(const QString &endpoint) const { return m_entries.value(endpoint); }
    // An empty trust removes the server.
    void setTrust(const QString &endpoint, const TlsTrust &trust);

    // Pins `fingerprint` for the server at `address` in the default store;
    // empty on success, else why not in words.
    static QString pin(const QString &address, const QString &fingerprint);

    // "AB:CD:...": the SHA-256 of the certificate's DER, as openssl prints it.
    static QString fingerprint(const QSslCertificate &certificate);
    // Why `path` is no private file (readable or writable by others,
    // missing, not a regular file), in words; empty when only its owner can
    // use it.
    static QString notPrivate(const QString &path);

private:
    QString m_path;
    QMap<QString, TlsTrust> m_entries;
    QString m_error;
};
