#include "core/FileSystem.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

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

TEST(FileSystem, RewriteBitmapLeavesExactlyTheNewImageWhateverTheFileHeldBefore)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("work.bmp"));
    QImage small(14, 20, QImage::Format_RGB32);
    small.fill(0xFF808080);
    small.setPixel(3, 4, 0xFFFFFFFF);
    QImage large(304, 22, QImage::Format_RGB32);
    large.fill(Qt::black);

    // No file yet, then a larger one to be overwritten, then the same size.
    for (const QImage *image : {&large, &small, &small}) {
        ASSERT_TRUE(rewriteBitmap(*image, name));
        QBuffer expected;
        expected.open(QIODevice::WriteOnly);
        image->save(&expected, "BMP");
        QFile written(name);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll(), expected.data());
    }
    EXPECT_EQ(QImage(name, "BMP").convertToFormat(QImage::Format_RGB32), small);

    // A folder that does not exist, and one standing where the file would.
    QDir(dir.path()).mkpath(QStringLiteral("taken.bmp"));
    EXPECT_FALSE(rewriteBitmap(small, dir.filePath(QStringLiteral("missing/work.bmp"))));
    EXPECT_FALSE(rewriteBitmap(small, dir.filePath(QStringLiteral("taken.bmp"))));
}
