#pragma once

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <array>

// Points the per-user folders (home, cache, settings) at a temporary folder
// for the life of the object, so that a test of an installed copy writes
// nothing into the real home.
class PerUserFolders
{
public:
    PerUserFolders()
    {
        for (Variable &v : m_variables) {
            v.saved = qgetenv(v.name);
            qputenv(v.name, home().toUtf8() + v.subfolder);
        }
    }
    ~PerUserFolders()
    {
        for (const Variable &v : m_variables) {
            if (v.saved.isNull())
                qunsetenv(v.name);
            else
                qputenv(v.name, v.saved);
        }
    }
    PerUserFolders(const PerUserFolders &) = delete;
    PerUserFolders &operator=(const PerUserFolders &) = delete;

    QString home() const { return m_home.path(); }
    QString cache() const { return m_home.filePath(QStringLiteral(".cache")); }
    QString documents() const { return m_home.filePath(QStringLiteral("Documents")); }
    void makeDocuments() const { QDir().mkpath(documents()); }

private:
    struct Variable
    {
        const char *name;
        const char *subfolder;
        QByteArray saved;
    };
    QTemporaryDir m_home;
    std::array<Variable, 3> m_variables = {
        {{"HOME", "", {}}, {"XDG_CACHE_HOME", "/.cache", {}}, {"XDG_CONFIG_HOME", "/.config", {}}}};
};
