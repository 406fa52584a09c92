#include "editor/DialogFolder.h"
#include "editor/RecentFiles.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(RecentFiles, KeepTheLastEightNewestFirstWithoutRepeats)
{
    QSettings().clear();
    RecentFiles recent;
    const QString folder = QDir::tempPath() + QStringLiteral("/titles");
    for (int i = 0; i < 9; ++i)
        recent.add(folder + QStringLiteral("/t%1.zvx").arg(i));
    recent.add(folder + QStringLiteral("/t4.zvx"));

    const QStringList files = recent.files();
    ASSERT_EQ(files.size(), RecentFiles::MaxFiles);
    EXPECT_EQ(files[0], folder + QStringLiteral("/t4.zvx"));
    EXPECT_EQ(files[1], folder + QStringLiteral("/t8.zvx"));
    EXPECT_EQ(files[7], folder + QStringLiteral("/t1.zvx")); // t0 fell off
    EXPECT_EQ(files.count(folder + QStringLiteral("/t4.zvx")), 1);
    EXPECT_EQ(recent.lastFolder(), folder);

    recent.remove(folder + QStringLiteral("/t8.zvx"));
    EXPECT_EQ(recent.files().size(), 7);
}

TEST(DialogFolder, LastFolderWhileItExistsOtherwiseTheProgramFolder)
{
    QTemporaryDir dir;
    EXPECT_EQ(DialogFolder::start(QString(), QStringLiteral("/opt/orvex/")), QStringLiteral("/opt/orvex/"));
    EXPECT_EQ(DialogFolder::start(dir.path(), QStringLiteral("/opt/orvex/")), dir.path() + QLatin1Char('/'));
    EXPECT_EQ(DialogFolder::start(dir.path() + QStringLiteral("/gone"), QStringLiteral("/opt/orvex/")),
              QStringLiteral("/opt/orvex/"));
}
