#include "core/FileSystem.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace FileSystem;

TEST(FileSystem, AppPathIsTheExecutableFolderWithOneTrailingSlash)
{
    const QString path = GetAppPath();
    EXPECT_TRUE(path.endsWith('/'));
    EXPECT_FALSE(path.endsWith("//"));
    EXPECT_EQ(QFileInfo(path).canonicalFilePath(),
              QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath());
    EXPECT_EQ(lastAppPath(), path);
    EXPECT_EQ(withTrailingSeparator("/"), "/");
    EXPECT_EQ(withTrailingSeparator("/opt/orvex"), "/opt/orvex/");
}

TEST(FileSystem, ReplaceAllTurnsEverySpaceIncludingEndsAndKeepsLength)
{
    QString text = "  a b  ";
    ReplaceAll(text, " ", "!");
    EXPECT_EQ(text, "!!a!b!!");

    QString untouched = "abc";
    ReplaceAll(untouched, " ", "!");
    EXPECT_EQ(untouched, "abc");

    QString back = "!x!";
    ReplaceAll(back, "!", " ");
    EXPECT_EQ(back, " x ");
}

TEST(FileSystem, ReplaceAllIgnoresLetterCase)
{
    QString text = "aAbA";
    ReplaceAll(text, "a", "x");
    EXPECT_EQ(text, "xxbx");
}

TEST(FileSystem, BytesToHexIsLowerCaseTwoDigitsPerByte)
{
    EXPECT_EQ(BytesToHex(QByteArray("\x0d\xa5", 2)), "0da5");
    EXPECT_EQ(BytesToHex(QByteArray("\x05", 1)), "05");
    EXPECT_EQ(BytesToHex(QByteArray()), "");
}
