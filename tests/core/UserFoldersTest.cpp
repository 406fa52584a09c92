#include "support/PerUserFolders.h"
#include "support/QtPrinters.h"

#include "core/UserFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

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

// The state folder names what is really wrong with it, so the operator
// knows whether to remove a file, fix a permission or free space.
TEST(UserFolders, AFolderThatCannotBeWrittenSaysWhy)
{
    QTemporaryDir dir;
    QFile(dir.filePath(QStringLiteral("file"))).open(QIODevice::WriteOnly);
    QDir().mkpath(dir.filePath(QStringLiteral("locked")));
    QFile::setPermissions(dir.filePath(QStringLiteral("locked")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool privileged = ::geteuid() == 0; // permissions do not stop root
    const QString denied = QString::fromLocal8Bit(std::strerror(EACCES));

    const struct
    {
        const char *folder;
        QString expected;
    } cases[] = {
        {"new/state/orvex", {}},
        {"file/orvex", dir.filePath(QStringLiteral("file")) + QStringLiteral(" はフォルダーではありません")},
        {"file", dir.filePath(QStringLiteral("file")) + QStringLiteral(" はフォルダーではありません")},
        {"locked", privileged ? QString()
                              : QStringLiteral("フォルダー %1 に書き込めません: %2")
                                    .arg(dir.filePath(QStringLiteral("locked")), denied)},
        {"locked/orvex", privileged ? QString()
                                    : QStringLiteral("フォルダー %1 を作れません: %2")
                                          .arg(dir.filePath(QStringLiteral("locked/orvex")), denied)},
    };
    for (const auto &c : cases) {
        const QString folder = dir.filePath(QString::fromLatin1(c.folder));
        EXPECT_EQ(UserFolders::makeWritableFolder(folder), c.expected) << c.folder;
        EXPECT_EQ(QFileInfo(folder).isDir(), c.expected.isEmpty()) << c.folder;
    }
    QFile::setPermissions(dir.filePath(QStringLiteral("locked")), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                                       | QFileDevice::ExeOwner);
}

} // namespace
