// What is trusted for a TLS server, kept in a private file, and the client
// certificate shown to a server of our own that insists on one.

#include "platform/NetworkSerialPort.h"
#include "platform/TlsTrustStore.h"
#include "support/QtPrinters.h"
#include "support/TestCertificates.h"
#include "support/WaitFor.h"

#include <QFile>
#include <QSslKey>
#include <QSslServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

QSslError error(QSslError::SslError kind)
{
    return QSslError(kind);
}

} // namespace

TEST(TlsTrustStore, KeepsEachServersTrustInAPrivateFileAndRefusesOneOthersMayWrite)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("orvex/tls-trust.json"));
    TlsTrustStore store(path);
    ASSERT_TRUE(store.load()) << "a missing file is an empty store";
    TlsTrust kept;
    kept.pinned = QStringLiteral("AB:CD");
    kept.siteCa = "-----BEGIN CERTIFICATE-----\n";
    kept.clientCert = QStringLiteral("/c.pem");
    kept.clientKey = QStringLiteral("/c.key");
    store.setTrust(QStringLiteral("rack-7:4443"), kept);
    store.setTrust(QStringLiteral("gone:1"), kept);
    store.setTrust(QStringLiteral("gone:1"), {});
    ASSERT_TRUE(store.save()) << store.error().toStdString();
    EXPECT_EQ(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser), OwnerOnly);

    TlsTrustStore again(path);
    ASSERT_TRUE(again.load()) << again.error().toStdString();
    const TlsTrust read = again.trust(QStringLiteral("rack-7:4443"));
    EXPECT_EQ(read.pinned, kept.pinned);
    EXPECT_EQ(read.siteCa, kept.siteCa);
    EXPECT_EQ(read.clientKey, kept.clientKey);
    EXPECT_TRUE(again.trust(QStringLiteral("gone:1")).isEmpty());

    QFile::setPermissions(path, OwnerOnly | QFile::WriteGroup);
    EXPECT_FALSE(again.load());
    EXPECT_TRUE(again.error().contains(QStringLiteral("他のユーザーも書き換えられる"))) << again.error().toStdString();
}

TEST(TlsTrustStore, APinHoldsWhateverSignedItButNeverPastItsExpiryOrForAnother)
{
    TlsTrust pinned;
    const QSslCertificate none;
    pinned.pinned = TlsTrustStore::fingerprint(none);
    TlsTrust other;
    other.pinned = QStringLiteral("00:11");
    using K = TlsVerdict::Kind;
    struct Case
    {
        const char *what;
        QList<QSslError> errors;
        const TlsTrust &trust;
        K kind;
    };
    const TlsTrust nothing;
    const Case cases[] = {
        {"a CA vouches", {}, nothing, K::Trusted},
        {"self-signed", {error(QSslError::SelfSignedCertificate)}, nothing, K::Unknown},
        {"unknown issuer and wrong name",
         {error(QSslError::UnableToGetLocalIssuerCertificate), error(QSslError::HostNameMismatch)}, nothing, K::Unknown},
        {"a CA's, for another name", {error(QSslError::HostNameMismatch)}, nothing, K::WrongName},
        {"expired", {error(QSslError::SelfSignedCertificate), error(QSslError::CertificateExpired)}, nothing, K::Expired},
        {"pinned, self-signed, any name",
         {error(QSslError::SelfSignedCertificate), error(QSslError::HostNameMismatch)}, pinned, K::Trusted},
        {"pinned but expired", {error(QSslError::CertificateExpired)}, pinned, K::Expired},
        {"not valid yet", {error(QSslError::CertificateNotYetValid)}, pinned, K::NotYetValid},
        {"another pinned, even if a CA vouches", {}, other, K::Changed},
    };
    for (const Case &c : cases) {
        const TlsVerdict verdict = TlsVerdict::judge(none, c.errors, c.trust);
        EXPECT_EQ(int(verdict.kind), int(c.kind)) << c.what;
        if (c.kind == K::Changed) {
            EXPECT_EQ(verdict.pinned, other.pinned);
        }
    }
}

TEST(TlsTrustStore, AClientCertificateIsShownWhenAskedForAndAKeyOthersCanReadIsNot)
{
    if (!TestCertificates::available())
        GTEST_SKIP() << "openssl is not installed";
    TestCertificates certificates;
    const TestCertificates::Pair server = certificates.selfSigned(QStringLiteral("server"));
    const TestCertificates::Pair client = certificates.siteSigned(QStringLiteral("client"));
    ASSERT_TRUE(server.isValid() && client.isValid()) << certificates.failure().toStdString();

    // A server that will not go on without a certificate the site CA signed.
    QSslServer listener;
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setLocalCertificate(QSslCertificate::fromPath(server.certificate).value(0));
    QFile keyFile(server.key);
    ASSERT_TRUE(keyFile.open(QIODevice::ReadOnly));
    config.setPrivateKey(QSslKey(keyFile.readAll(), QSsl::Ec));
    config.setCaCertificates(QSslCertificate::fromPath(certificates.siteCa()));
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    listener.setSslConfiguration(config);
    QList<QByteArray> heard;
    QObject::connect(&listener, &QSslServer::pendingConnectionAvailable, [&] {
        while (QTcpSocket *s = listener.nextPendingConnection())
            QObject::connect(s, &QTcpSocket::readyRead, s, [&heard, s] { heard << s->readAll(); });
    });
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost));
    const QString address = QStringLiteral("tls://127.0.0.1:%1").arg(listener.serverPort());

    QFile::remove(TlsTrustStore::defaultPath());
    const auto open = [&](const QString &key, QFile::Permissions keyPermissions) {
        TlsTrustStore store;
        TlsTrust trust;
        trust.pinned = TlsTrustStore::fingerprint(QSslCertificate::fromPath(server.certificate).value(0));
        if (!key.isEmpty()) {
            trust.clientCert = client.certificate;
            trust.clientKey = key;
            QFile::setPermissions(key, keyPermissions);
        }
        store.setTrust(PortAddress::parse(address).endpoint(), trust);
        EXPECT_TRUE(store.save());
        NetworkSerialPort port;
        port.setDevicePath(address);
        std::optional<CommEvent> ended;
        port.setEventHandler([&](CommEvent e) { ended = e; });
        if (port.startOpen() == OpenProgress::Pending)
            waitFor([&] { return ended.has_value(); }, 10000);
        if (port.isOpen())
            port.write("CS?\r");
        waitFor([&] { return !heard.isEmpty(); }, port.isOpen() ? 5000 : 100);
        return port.isOpen() ? QString() : port.errorString();
    };

    const QString without = open(QString(), {});
    EXPECT_TRUE(without.contains(QStringLiteral("は証明書を示したあと接続を切りました"))) << without.toStdString();
    EXPECT_TRUE(without.contains(QStringLiteral("orvex trust %1 --cert").arg(address))) << without.toStdString();
    const QString readable = open(client.key, OwnerOnly | QFile::ReadOther);
    EXPECT_TRUE(readable.contains(QStringLiteral("他のユーザーも読み書きできるので使いません"))) << readable.toStdString();
    EXPECT_TRUE(heard.isEmpty()) << "nothing sent";
    EXPECT_EQ(open(client.key, OwnerOnly), QString());
    EXPECT_EQ(heard, QList<QByteArray>{"CS?\r"});
    QFile::remove(TlsTrustStore::defaultPath());
}
