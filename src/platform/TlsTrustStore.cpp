#include "TlsTrustStore.h"

#include "netserial/PortAddress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSslKey>
#include <QStandardPaths>

#include <algorithm>

namespace {

// A file of trust is small; anything much larger is no such file.
constexpr qint64 MaxStoreBytes = 4 * 1024 * 1024;

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions Others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

bool has(const QList<QSslError> &errors, QSslError::SslError which)
{
    return std::any_of(errors.begin(), errors.end(), [which](const QSslError &e) { return e.error() == which; });
}

QString textOf(const QList<QSslError> &errors, QSslError::SslError which)
{
    for (const QSslError &e : errors) {
        if (e.error() == which)
            return e.errorString();
    }
    return errors.isEmpty() ? QString() : errors.first().errorString();
}

// A PEM key of any algorithm the TLS library reads.
QSslKey readKey(const QByteArray &pem)
{
    for (QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec, QSsl::Dsa}) {
        QSslKey key(pem, algorithm, QSsl::Pem, QSsl::PrivateKey);
        if (!key.isNull())
            return key;
    }
    return {};
}

QByteArray readSmall(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(MaxStoreBytes);
}

} // namespace

bool TlsTrust::configure(QSslConfiguration &config, QString &problem) const
{
    config.setProtocol(QSsl::TlsV1_2OrLater);
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    if (!siteCa.isEmpty())
        config.addCaCertificates(QSslCertificate::fromData(siteCa, QSsl::Pem));
    if (clientCert.isEmpty())
        return true;
    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(clientCert, QSsl::Pem);
    if (certificates.isEmpty()) {
        problem = QStringLiteral("クライアント証明書 %1 を読めません").arg(clientCert);
        return false;
    }
    problem = TlsTrustStore::notPrivate(clientKey);
    if (!problem.isEmpty())
        return false;
    const QSslKey key = readKey(readSmall(clientKey));
    if (key.isNull()) {
        problem = QStringLiteral("鍵ファイル %1 を読めません（パスフレーズ付きの鍵は使えません）").arg(clientKey);
        return false;
    }
    config.setLocalCertificateChain(certificates);
    config.setPrivateKey(key);
    return true;
}

TlsVerdict TlsVerdict::judge(const QSslCertificate &leaf, const QList<QSslError> &errors, const TlsTrust &trust)
{
    TlsVerdict verdict;
    verdict.fingerprint = TlsTrustStore::fingerprint(leaf);
    const auto is = [&](Kind kind, QSslError::SslError which) {
        verdict.kind = kind;
        verdict.systemText = textOf(errors, which);
        return verdict;
    };
    if (has(errors, QSslError::CertificateExpired))
        return is(Kind::Expired, QSslError::CertificateExpired);
    if (has(errors, QSslError::CertificateNotYetValid))
        return is(Kind::NotYetValid, QSslError::CertificateNotYetValid);
    if (!trust.pinned.isEmpty()) {
        verdict.pinned = trust.pinned;
        verdict.kind = verdict.fingerprint.compare(trust.pinned, Qt::CaseInsensitive) == 0 ? Kind::Trusted : Kind::Changed;
        return verdict;
    }
    if (errors.isEmpty()) {
        verdict.kind = Kind::Trusted;
        return verdict;
    }
    const bool onlyTheName = std::all_of(errors.begin(), errors.end(), [](const QSslError &e) {
        return e.error() == QSslError::HostNameMismatch;
    });
    return onlyTheName ? is(Kind::WrongName, QSslError::HostNameMismatch) : is(Kind::Unknown, QSslError::NoError);
}

QString TlsTrustStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/orvex/tls-trust.json");
}

TlsTrustStore::TlsTrustStore(QString path) : m_path(std::move(path)) {}

QString TlsTrustStore::fingerprint(const QSslCertificate &certificate)
{
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper());
}

QString TlsTrustStore::notPrivate(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("%1 がありません").arg(path);
    if (!info.isFile())
        return QStringLiteral("%1 は通常のファイルではありません").arg(path);
    if (info.permissions() & Others)
        return QStringLiteral("%1 は他のユーザーも読み書きできるので使いません（chmod 600 %1 として下さい）").arg(path);
    return {};
}

bool TlsTrustStore::load()
{
    m_entries.clear();
    m_error.clear();
    const QFileInfo info(m_path);
    if (!info.exists())
        return true;
    // Readable by others does no harm (it holds no secret); writable by
    // others would let them vouch for a server.
    if (!info.isFile() || (info.permissions() & (QFileDevice::WriteGroup | QFileDevice::WriteOther))) {
        m_error = info.isFile() ? QStringLiteral("信頼の記録 %1 は他のユーザーも書き換えられるので使いません"
                                                 "（chmod 600 %1 として下さい）")
                                      .arg(m_path)
                                : QStringLiteral("信頼の記録 %1 は通常のファイルではありません").arg(m_path);
        return false;
    }
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("信頼の記録 %1 を読めません（%2）").arg(m_path, file.errorString());
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.read(MaxStoreBytes), &parseError);
    if (!document.isObject()) {
        m_error = QStringLiteral("信頼の記録 %1 が壊れています（%2）").arg(m_path, parseError.errorString());
        return false;
    }
    const QJsonObject servers = document.object().value(QLatin1String("servers")).toObject();
    for (auto it = servers.begin(); it != servers.end(); ++it) {
        const QJsonObject o = it.value().toObject();
        TlsTrust trust;
        trust.pinned = o.value(QLatin1String("pinned")).toString();
        trust.siteCa = o.value(QLatin1String("ca")).toString().toLatin1();
        trust.clientCert = o.value(QLatin1String("cert")).toString();
        trust.clientKey = o.value(QLatin1String("key")).toString();
        if (!trust.isEmpty())
            m_entries.insert(it.key(), trust);
    }
    return true;
}

bool TlsTrustStore::save()
{
    QJsonObject servers;
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        QJsonObject o;
        const TlsTrust &t = it.value();
        if (!t.pinned.isEmpty())
            o.insert(QLatin1String("pinned"), t.pinned);
        if (!t.siteCa.isEmpty())
            o.insert(QLatin1String("ca"), QString::fromLatin1(t.siteCa));
        if (!t.clientCert.isEmpty()) {
            o.insert(QLatin1String("cert"), t.clientCert);
            o.insert(QLatin1String("key"), t.clientKey);
        }
        servers.insert(it.key(), o);
    }
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder)) {
        m_error = QStringLiteral("フォルダー %1 を作れません").arg(folder);
        return false;
    }
    QSaveFile file(m_path);
    // Private from its first byte: the new file is made with the owner's
    // permissions only before anything is written to it.
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(OwnerOnly)
        || file.write(QJsonDocument(QJsonObject{{QLatin1String("servers"), servers}}).toJson()) < 0
        || !file.commit()) {
        m_error = QStringLiteral("信頼の記録 %1 を書けません（%2）").arg(m_path, file.errorString());
        return false;
    }
    return true;
}

QString TlsTrustStore::pin(const QString &address, const QString &fingerprint)
{
    const QString endpoint = PortAddress::parse(address).endpoint();
    TlsTrustStore store;
    if (endpoint.isEmpty() || !store.load())
        return store.error();
    TlsTrust trust = store.trust(endpoint);
    trust.pinned = fingerprint;
    store.setTrust(endpoint, trust);
    return store.save() ? QString() : store.error();
}

void TlsTrustStore::setTrust(const QString &endpoint, const TlsTrust &trust)
{
    if (trust.isEmpty())
        m_entries.remove(endpoint);
    else
        m_entries.insert(endpoint, trust);
}
