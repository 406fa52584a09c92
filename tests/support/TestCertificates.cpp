#include "TestCertificates.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {

const QStringList EcKey = {QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                           QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};

bool writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

} // namespace

bool TestCertificates::available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty();
}

bool TestCertificates::run(const QStringList &arguments)
{
    QProcess openssl;
    openssl.setWorkingDirectory(m_dir.path());
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"), arguments);
    if (openssl.waitForFinished(60000) && openssl.exitStatus() == QProcess::NormalExit && openssl.exitCode() == 0)
        return true;
    m_failure = QStringLiteral("openssl %1: %2").arg(arguments.join(u' '), QString::fromLocal8Bit(openssl.readAll()));
    return false;
}

TestCertificates::Pair TestCertificates::selfSigned(const QString &name, const QString &ip)
{
    const Pair pair{path(name + QStringLiteral(".pem")), path(name + QStringLiteral(".key"))};
    if (!run(QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + EcKey
             + QStringList{QStringLiteral("-keyout"), pair.key, QStringLiteral("-out"), pair.certificate,
                           QStringLiteral("-days"), QStringLiteral("30"), QStringLiteral("-subj"),
                           QStringLiteral("/CN=") + name, QStringLiteral("-addext"),
                           QStringLiteral("subjectAltName=IP:") + ip}))
        return {};
    QFile::setPermissions(pair.key, QFile::ReadOwner | QFile::WriteOwner);
    return pair;
}

QString TestCertificates::siteCa()
{
    if (!m_caMade) {
        const QByteArray config = "[ca]\ndefault_ca = site\n[site]\ndatabase = index.txt\nserial = serial.txt\n"
                                  "new_certs_dir = .\ncertificate = ca.pem\nprivate_key = ca.key\n"
                                  "default_md = sha256\npolicy = any\nunique_subject = no\ndefault_days = 30\n"
                                  "[any]\ncommonName = supplied\n";
        m_caMade = writeFile(path(QStringLiteral("ca.cnf")), config) && writeFile(path(QStringLiteral("index.txt")), {})
                   && writeFile(path(QStringLiteral("serial.txt")), "01\n")
                   && run(QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + EcKey
                          + QStringList{QStringLiteral("-keyout"), QStringLiteral("ca.key"), QStringLiteral("-out"),
                                        QStringLiteral("ca.pem"), QStringLiteral("-days"), QStringLiteral("30"),
                                        QStringLiteral("-subj"), QStringLiteral("/CN=Orvex test site CA")});
    }
    return m_caMade ? path(QStringLiteral("ca.pem")) : QString();
}

TestCertificates::Pair TestCertificates::siteSigned(const QString &name, const QString &ip, const QString &start,
                                                    const QString &end)
{
    if (siteCa().isEmpty())
        return {};
    const Pair pair{path(name + QStringLiteral(".pem")), path(name + QStringLiteral(".key"))};
    const QString extensions = path(name + QStringLiteral(".ext"));
    if (!writeFile(extensions, "subjectAltName = IP:" + ip.toLatin1() + "\n")
        || !run(QStringList{QStringLiteral("req")} + EcKey
                + QStringList{QStringLiteral("-keyout"), pair.key, QStringLiteral("-out"), name + QStringLiteral(".csr"),
                              QStringLiteral("-subj"), QStringLiteral("/CN=") + name}))
        return {};
    QStringList sign = {QStringLiteral("ca"), QStringLiteral("-batch"), QStringLiteral("-config"), QStringLiteral("ca.cnf"),
                        QStringLiteral("-notext"), QStringLiteral("-extfile"), extensions, QStringLiteral("-in"),
                        name + QStringLiteral(".csr"), QStringLiteral("-out"), pair.certificate};
    if (!start.isEmpty())
        sign << QStringLiteral("-startdate") << start << QStringLiteral("-enddate") << end;
    if (!run(sign))
        return {};
    QFile::setPermissions(pair.key, QFile::ReadOwner | QFile::WriteOwner);
    return pair;
}
