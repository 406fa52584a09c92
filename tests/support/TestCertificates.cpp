#include "TestCertificates.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {

const QStringList EcKey = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};

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
    const QStringList req = QStringList{"req", "-x509"} + EcKey
                            + QStringList{"-keyout", pair.key, "-out", pair.certificate, "-days", "30", "-subj",
                                          "/CN=" + name, "-addext", "subjectAltName=IP:" + ip};
    if (!run(req))
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
        m_caMade = writeFile(path("ca.cnf"), config) && writeFile(path("index.txt"), {})
                   && writeFile(path("serial.txt"), "01\n")
                   && run(QStringList{"req", "-x509"} + EcKey
                          + QStringList{"-keyout", "ca.key", "-out", "ca.pem", "-days", "30", "-subj", "/CN=Orvex test site CA"});
    }
    return m_caMade ? path("ca.pem") : QString();
}

TestCertificates::Pair TestCertificates::siteSigned(const QString &name, const QString &ip, const QString &start,
                                                    const QString &end)
{
    const Pair pair{path(name + ".pem"), path(name + ".key")};
    const QString extensions = path(name + ".ext");
    QStringList sign = {"ca", "-batch", "-config", "ca.cnf", "-notext", "-extfile", extensions, "-in", name + ".csr",
                        "-out", pair.certificate};
    if (!start.isEmpty())
        sign << "-startdate" << start << "-enddate" << end;
    if (siteCa().isEmpty() || !writeFile(extensions, "subjectAltName = IP:" + ip.toLatin1() + "\n")
        || !run(QStringList{"req"} + EcKey + QStringList{"-keyout", pair.key, "-out", name + ".csr", "-subj", "/CN=" + name})
        || !run(sign))
        return {};
    QFile::setPermissions(pair.key, QFile::ReadOwner | QFile::WriteOwner);
    return pair;
}
