#pragma once

#include <QString>
#include <QTemporaryDir>

// Certificates for TLS servers of a test, made by the openssl tool in a
// scratch folder: self-signed ones, and ones signed by a site CA of the
// test's own, for any name and any period.
class TestCertificates
{
public:
    struct Pair
    {
        QString certificate; // PEM files
        QString key;
        bool isValid() const { return !certificate.isEmpty(); }
    };

    static bool available();

    // For 127.0.0.1 unless `ip` says otherwise; `name` tells files apart.
    Pair selfSigned(const QString &name, const QString &ip = QStringLiteral("127.0.0.1"));
    // Signed by the site CA; dates as openssl takes them ("20200101000000Z"),
    // empty for from now for a month.
    Pair siteSigned(const QString &name, const QString &ip = QStringLiteral("127.0.0.1"),
                    const QString &start = QString(), const QString &end = QString());
    // The site CA's certificate (made on first use).
    QString siteCa();
    QString failure() const { return m_failure; }
    QString path(const QString &file) const { return m_dir.filePath(file); }

private:
    bool run(const QStringList &arguments);

    QTemporaryDir m_dir;
    QString m_failure;
    bool m_caMade = false;
};
