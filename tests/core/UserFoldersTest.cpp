#include "support/PerUserFolders.h"
#include "support/QtPrinters.h"

#include "core/UserFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(UserFolders, OnlyAWritableFolderOtherThanAnInstalledOneIsKept)
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("bin/"));
    QDir().mkpath(program);
    QFile(dir.filePath(QStringLiteral("file"))).open(QIODevice::WriteOnly);
    QFile::link(dir.filePath(QStringLiteral("bin")), dir.filePath(QStringLiteral("link")));

    const struct
    {
        const char *what;
        QString programFolder;
        QStringList installed;
        bool kept;
    } cases[] = {
        {"a build tree", program, {QStringLiteral("/usr/bin")}, true},
        {"no installed folders", program, {}, true},
        {"installed there", program, {dir.filePath(QStringLiteral("bin"))}, false},
        {"installed, other spelling", dir.filePath(QStringLiteral("bin/.")), {program}, false},
        {"reached through a link", dir.filePath(QStringLiteral("link/")), {program}, false},
        {"missing folder", dir.filePath(QStringLiteral("gone/")), {}, false},
        {"a file", dir.filePath(QStringLiteral("file")), {}, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(UserFolders::keepsProgramFolder(c.programFolder, c.installed), c.kept) << c.what;
}

TEST(UserFolders, AReadOnlyProgramFolderIsNotKept)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write anywhere";
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_FALSE(UserFolders::keepsProgramFolder(dir.path() + QLatin1Char('/'), {}));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(UserFolders, TheInstalledFoldersAreThoseOfThisBuildAndThePackage)
{
    const QStringList installed = UserFolders::installedProgramFolders();
    EXPECT_TRUE(installed.contains(QStringLiteral("/usr/bin"))) << installed.join(QLatin1Char(';')).toStdString();
    for (const QString &folder : installed)
        EXPECT_TRUE(QDir::isAbsolutePath(folder)) << folder.toStdString();
}

TEST(UserFolders, ABuildTreeWorksAndOpensInItsOwnFolder)
{
    PerUserFolders home;
    QTemporaryDir dir;
    const QString program = dir.path() + QLatin1Char('/');
    const UserFolders folders = UserFolders::forProgram(program);
    EXPECT_EQ(folders.work, program);
    EXPECT_EQ(folders.dialogs, program);
    EXPECT_FALSE(QFileInfo::exists(home.cache()));
}

TEST(UserFolders, AnInstalledCopyWorksInTheCacheAndOpensInDocumentsOrHome)
{
    PerUserFolders home;
    UserFolders folders = UserFolders::forProgram(QStringLiteral("/usr/bin/"));
    EXPECT_TRUE(folders.work.startsWith(home.cache() + QLatin1Char('/'))) << folders.work.toStdString();
    EXPECT_TRUE(folders.work.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QFileInfo(folders.work).isDir());
    // No documents folder is made for the user: home stands in for it.
    EXPECT_EQ(folders.dialogs, home.home());

    home.makeDocuments();
    folders = UserFolders::forProgram(QStringLiteral("/usr/bin/"));
    EXPECT_EQ(folders.dialogs, home.documents());
}

} // namespace
