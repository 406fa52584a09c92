// Debian's ser2net serving TLS in front of orvex-sim: the server proven
// before anything goes out (pinned, changed, a site CA, a wrong name, an
// expired certificate), the plain and TLS mismatches, and whole titles and
// a watch over tls:// and rfc2217+tls://, byte for byte.

#include "SimLinkFixture.h"
#include "platform/NetworkSerialPort.h"
#include "platform/TlsTrustStore.h"
#include "support/QtPrinters.h"
#include "support/Ser2netProcess.h"
#include "support/TestCertificates.h"
#include "support/WaitFor.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <optional>

namespace {

using Accepter = Ser2netProcess::Accepter;

struct OpenResult
{
    bool opened = false;
    QString error;
    QString unknownCertificate;
    qint64 ms = 0;
};

OpenResult openPort(const QString &address)
{
    NetworkSerialPort port;
    port.setDevicePath(address);
    std::optional<CommEvent> ended;
    OpenResult result;
    port.setEventHandler([&](CommEvent e) {
        if (e == CommEvent::Opened || e == CommEvent::OpenFailed)
            ended = e;
        // As the window asks, while the failure is being told.
        result.unknownCertificate = port.unknownCertificate();
    });
    QElapsedTimer clock;
    clock.start();
    if (port.startOpen() == OpenProgress::Pending)
        waitFor([&] { return ended.has_value(); }, 20000);
    result.ms = clock.elapsed();
    result.opened = port.isOpen();
    result.error = port.errorString();
    return result;
}

QString fingerprintOf(const QString &pem)
{
    return TlsTrustStore::fingerprint(QSslCertificate::fromPath(pem).value(0));
}

class Ser2netTls : public SimLink
{
protected:
    void SetUp() override
    {
        if (!Ser2netProcess::available() || !TestCertificates::available())
            GTEST_SKIP() << "ser2net or openssl is not installed (scripts/install-deps.sh installs them)";
        SimLink::SetUp();
        QFile::remove(TlsTrustStore::defaultPath());
        ASSERT_TRUE(sim.start());
    }
    void TearDown() override { QFile::remove(TlsTrustStore::defaultPath()); }

    // ser2net on the simulator with `pair`.
    bool serve(Ser2netProcess &server, const TestCertificates::Pair &pair, Accepter accepter = Accepter::RawTcp)
    {
        if (!pair.isValid()) {
            ADD_FAILURE() << certificates.failure().toStdString();
            return false;
        }
        server.setTls(pair.certificate, pair.key);
        const bool started = server.start(accepter, sim.device());
        EXPECT_TRUE(started) << server.failure().toStdString();
        return started;
    }
    static void trust(const QString &address, const TlsTrust &trust)
    {
        TlsTrustStore store;
        ASSERT_TRUE(store.load()) << store.error().toStdString();
        store.setTrust(PortAddress::parse(address).endpoint(), trust);
        ASSERT_TRUE(store.save()) << store.error().toStdString();
    }

    SimProcess sim;
    TestCertificates certificates;
};

} // namespace

TEST_F(Ser2netTls, TheServerIsProvenBeforeTheLineOpens)
{
    // Made as: self-signed, by the site CA, by it for another address, by
    // it for a month long past.
    enum Made { Self, Site, Elsewhere, Past };
    struct Case
    {
        const char *name;
        Made made;
        enum { None, Pin, SiteCa } trusted;
        const char *expected; // empty: opens
    };
    const Case cases[] = {
        {"unknown", Self, Case::None, "信頼されていません"},
        {"pinned", Self, Case::Pin, ""},
        {"site", Site, Case::SiteCa, ""},
        {"elsewhere", Elsewhere, Case::SiteCa, "別のホスト名のもの"},
        {"expired", Past, Case::SiteCa, "有効期限が切れています"},
        {"expiredpin", Past, Case::Pin, "有効期限が切れています"},
        {"noca", Site, Case::None, "信頼されていません"},
    };
    const auto make = [&](const Case &c) {
        const QString name = QString::fromLatin1(c.name), here = QStringLiteral("127.0.0.1");
        switch (c.made) {
        case Self: return certificates.selfSigned(name);
        case Site: return certificates.siteSigned(name);
        case Elsewhere: return certificates.siteSigned(name, QStringLiteral("10.9.9.9"));
        case Past: return certificates.siteSigned(name, here, QStringLiteral("20200101000000Z"), QStringLiteral("20200201000000Z"));
        }
        return TestCertificates::Pair{};
    };
    for (const Case &c : cases) {
        Ser2netProcess server;
        const TestCertificates::Pair pair = make(c);
        ASSERT_TRUE(serve(server, pair)) << c.name;
        TlsTrust kept;
        if (c.trusted == Case::Pin)
            kept.pinned = fingerprintOf(pair.certificate);
        if (c.trusted == Case::SiteCa) {
            QFile ca(certificates.siteCa());
            ASSERT_TRUE(ca.open(QIODevice::ReadOnly));
            kept.siteCa = ca.readAll();
        }
        trust(server.address(), kept);
        const OpenResult result = openPort(server.address());
        const QString expected = QString::fromUtf8(c.expected);
        EXPECT_EQ(result.opened, expected.isEmpty()) << c.name << ": " << result.error.toStdString();
        EXPECT_TRUE(result.error.contains(expected)) << c.name << ": " << result.error.toStdString();
        EXPECT_LT(result.ms, 3000) << c.name;
        const bool unknown = expected == QStringLiteral("信頼されていません");
        EXPECT_EQ(result.unknownCertificate, unknown ? fingerprintOf(pair.certificate) : QString()) << c.name;
        if (unknown) {
            EXPECT_TRUE(result.error.contains(QStringLiteral("sha256 Fingerprint=") + fingerprintOf(pair.certificate)
                                              + QStringLiteral("\r\nこの証明書に間違いがなければ、orvex trust ")
                                              + server.address() + QStringLiteral(" --yes")))
                << result.error.toStdString();
        }
    }
    // Nothing of ours reached the device on any of those connections.
    EXPECT_FALSE(sim.stopAndReadLog().contains(QStringLiteral("ignored frame")));
}

TEST_F(Ser2netTls, PlainAndTlsAtCrossPurposesSayWhichToUse)
{
    const TestCertificates::Pair pair = certificates.selfSigned("cross");
    struct Case
    {
        Accepter accepter;
        bool serverTls;
        const char *scheme; // the client's
        const char *expected;
    };
    const Case cases[] = {
        {Accepter::RawTcp, false, "tls", "TLS で応答しません。TLS を使わないサーバーなら tcp:// を使って下さい"},
        {Accepter::Rfc2217, false, "rfc2217+tls", "暗号化した接続を確立できません"},
        {Accepter::Rfc2217, true, "rfc2217", "TLS のサーバーなら rfc2217+tls:// を使って下さい"},
    };
    for (const Case &c : cases) {
        Ser2netProcess server;
        if (c.serverTls)
            server.setTls(pair.certificate, pair.key);
        ASSERT_TRUE(server.start(c.accepter, sim.device())) << server.failure().toStdString();
        const QString address = QStringLiteral("%1://127.0.0.1:%2").arg(QLatin1String(c.scheme)).arg(server.port());
        const OpenResult result = openPort(address);
        EXPECT_FALSE(result.opened) << address.toStdString();
        EXPECT_TRUE(result.error.contains(QString::fromUtf8(c.expected))) << address.toStdString() << ": "
                                                                          << result.error.toStdString();
        EXPECT_LE(result.ms, NetworkSerialPort::HandshakeMs + 1000) << address.toStdString();
    }

    // Raw TCP to a TLS server: the server drops the connection at our first
    // frame, and the send's resend is refused saying so.
    Ser2netProcess server;
    ASSERT_TRUE(serve(server, pair));
    QElapsedTimer clock;
    clock.start();
    const auto run = SimProcess::runTool({"send", file, "--port", QStringLiteral("tcp://127.0.0.1:%1").arg(server.port())});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("は最初の送信で接続を切りました"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("TLS のサーバーなら tls:// を使って下さい"))) << run.err.toStdString();
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST_F(Ser2netTls, ANewUserTrustsTheServerOnceAndAReplacedCertificateIsRefusedNamingBoth)
{
    Ser2netProcess server;
    const TestCertificates::Pair first = certificates.selfSigned("first");
    ASSERT_TRUE(serve(server, first));
    const QString address = server.address();
    const QString fingerprint = fingerprintOf(first.certificate);

    const auto refused = SimProcess::runTool({"send", file, "--port", address});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(fingerprint)) << refused.err.toStdString();
    EXPECT_TRUE(refused.out.contains(QStringLiteral("completed channels: none"))) << refused.out.toStdString();

    // As openssl x509 -fingerprint -sha256 prints it.
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"), {"x509", "-in", first.certificate, "-noout", "-fingerprint", "-sha256"});
    ASSERT_TRUE(openssl.waitForFinished(30000));
    const QString printed = QString::fromLatin1(openssl.readAllStandardOutput()).trimmed();
    const auto shown = SimProcess::runTool({"trust", address});
    EXPECT_EQ(shown.exitCode, 1);
    EXPECT_TRUE(shown.out.contains(QStringLiteral("  ") + printed + u'\n')) << shown.out.toStdString();
    EXPECT_TRUE(shown.out.contains(QStringLiteral("subject:  CN=first"))) << shown.out.toStdString();
    EXPECT_TRUE(shown.out.contains(QStringLiteral("trusted:  no"))) << shown.out.toStdString();

    const auto pinned = SimProcess::runTool({"trust", address, "--yes"});
    EXPECT_EQ(pinned.exitCode, 0) << pinned.err.toStdString();
    EXPECT_EQ(QFile::permissions(TlsTrustStore::defaultPath()) & 0x0ff, QFile::Permissions()) << "others: nothing";
    const QJsonObject state = [&] {
        const auto sent = SimProcess::runTool({"send", file, "--port", address});
        EXPECT_EQ(sent.exitCode, 0) << sent.err.toStdString();
        return sim.stopAndReadState();
    }();
    for (int ch = 0; ch < Title::Channels; ++ch)
        expectChannelWritten(state, ch);

    // The same address, another certificate.
    SimProcess second;
    ASSERT_TRUE(second.start());
    const quint16 port = server.port();
    server.kill();
    Ser2netProcess replaced;
    const TestCertificates::Pair other = certificates.selfSigned("second");
    replaced.setTls(other.certificate, other.key);
    replaced.setPort(port);
    ASSERT_TRUE(replaced.start(Accepter::RawTcp, second.device())) << replaced.failure().toStdString();
    const auto changed = SimProcess::runTool({"send", file, "--port", address});
    EXPECT_EQ(changed.exitCode, 1);
    EXPECT_TRUE(changed.err.contains(QStringLiteral("信頼した証明書: sha256 Fingerprint=") + fingerprint))
        << changed.err.toStdString();
    EXPECT_TRUE(changed.err.contains(QStringLiteral("今回の証明書:   sha256 Fingerprint=") + fingerprintOf(other.certificate)))
        << changed.err.toStdString();
    const auto forgotten = SimProcess::runTool({"trust", address, "--forget"});
    EXPECT_EQ(forgotten.exitCode, 0);
    EXPECT_TRUE(SimProcess::runTool({"send", file, "--port", address}).err.contains(QStringLiteral("信頼されていません")));
    EXPECT_FALSE(second.stopAndReadLog().contains(QStringLiteral("ignored frame")));
}

TEST_F(Ser2netTls, WholeTitlesAndAWatchThroughEitherTlsAccepterAreByteExact)
{
    SimProcess direct;
    ASSERT_TRUE(direct.start());
    const auto reference = SimProcess::runTool({"send", file, "--port", direct.device()});
    ASSERT_EQ(reference.exitCode, 0);
    const QJsonObject expected = direct.stopAndReadState();
    const TestCertificates::Pair pair = certificates.selfSigned("exact");
    for (const Accepter accepter : {Accepter::RawTcp, Accepter::Rfc2217}) {
        SimProcess device;
        ASSERT_TRUE(device.start());
        Ser2netProcess server;
        server.setTls(pair.certificate, pair.key);
        ASSERT_TRUE(server.start(accepter, device.device(), QStringLiteral("19200n81"))) << server.failure().toStdString();
        ASSERT_EQ(SimProcess::runTool({"trust", server.address(), "--yes"}).exitCode, 0);
        const auto sent = SimProcess::runTool({"send", file, "--port", server.address()});
        EXPECT_EQ(sent.exitCode, 0) << server.address().toStdString() << sent.err.toStdString();
        // A watch on the same path sees the unit's video go.
        QProcess watch;
        watch.start(SimProcess::toolPath(), {"status", "--port", server.address(), "--watch"});
        EXPECT_TRUE(waitFor([&] { return watch.canReadLine(); }, 15000)) << server.address().toStdString();
        const QString before = QString::fromUtf8(watch.readLine()).trimmed();
        device.toggleFirstInputVideo();
        EXPECT_TRUE(waitFor([&] { return watch.canReadLine(); }, 15000));
        EXPECT_TRUE(before.endsWith(QStringLiteral("video loss none"))) << before.toStdString();
        EXPECT_TRUE(QString::fromUtf8(watch.readLine()).trimmed().endsWith(QStringLiteral("video loss 1")));
        watch.kill();
        watch.waitForFinished(30000);
        const QJsonObject state = device.stopAndReadState();
        // Over RFC 2217 only our own setting brings ser2net's 19200 to 9600.
        EXPECT_EQ(state[QStringLiteral("line_baud")].toInt(), accepter == Accepter::Rfc2217 ? 9600 : 19200);
        EXPECT_EQ(state[QStringLiteral("channels")], expected[QStringLiteral("channels")]) << server.address().toStdString();
    }
}
