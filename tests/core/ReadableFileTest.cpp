#include "core/ImageFile.h"
#include "core/ReadableFile.h"
#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"
#include "support/FifoUnblocker.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class ReadableFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        TitleData title;
        title.setDefaults();
        title.ChText[0] = QStringLiteral("kept");
        ASSERT_TRUE(ZvxWriter::writeFile(path("regular.zvx"), title).ok);
        ASSERT_EQ(mkfifo(QFile::encodeName(path("fifo.zvx")).constData(), 0600), 0);
        ASSERT_TRUE(QFile::link(path("regular.zvx"), path("to-regular.zvx")));
        ASSERT_TRUE(QFile::link(path("fifo.zvx"), path("to-fifo.zvx")));
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), path("to-null.zvx")));
    }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ReadableFileTest, OnlyRegularFilesAndLinksToThemAreOpened)
{
    const FifoUnblocker unblock(path("fifo.zvx"));
    const struct
    {
        QString name;
        bool opens;
        bool refusedForItsKind;
        const char *why; // part of the reason given
    } cases[] = {
        {path("regular.zvx"), true, false, ""},
        {path("to-regular.zvx"), true, false, ""},
        {path("missing.zvx"), false, false, ""},
        {path("fifo.zvx"), false, true, "名前付きパイプ"},
        {path("to-fifo.zvx"), false, true, "名前付きパイプ"},
        {path("to-null.zvx"), false, true, "デバイス"},
        {QStringLiteral("/dev/zero"), false, true, "デバイス"},
        {dir.path(), false, true, "フォルダー"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ReadableFile::refusal(c.name).isEmpty(), !c.refusedForItsKind) << qPrintable(c.name);
        QFile file;
        const ReadableFile::Opened opened = ReadableFile::open(c.name, file);
        EXPECT_EQ(opened.ok(), c.opens) << qPrintable(c.name);
        EXPECT_EQ(file.isOpen(), c.opens) << qPrintable(c.name);
        EXPECT_EQ(opened.notRegular, c.refusedForItsKind) << qPrintable(c.name);
        EXPECT_TRUE(opened.error.contains(QString::fromUtf8(c.why))) << qPrintable(opened.error);
    }
}

TEST_F(ReadableFileTest, ThePipeIsRefusedByTheTitleReaderAndThePictureReader)
{
    const FifoUnblocker unblock(path("fifo.zvx"));
    for (const char *name : {"fifo.zvx", "to-fifo.zvx"}) {
        TitleData data;
        data.setDefaults();
        data.ChText[0] = QStringLiteral("before");
        const ZvxReadResult read = ZvxReader::readFile(path(name), data);
        EXPECT_EQ(read.error, ZvxReadResult::Error::NotRegularFile) << name;
        EXPECT_TRUE(read.message().contains(path(name))) << qPrintable(read.message());
        EXPECT_TRUE(read.message().contains(QStringLiteral("名前付きパイプ"))) << qPrintable(read.message());
        EXPECT_EQ(data.ChText[0], QStringLiteral("before"));

        QImage image;
        const QString why = ImageFile::load(path(name), image);
        EXPECT_TRUE(why.contains(path(name))) << qPrintable(why);
        EXPECT_TRUE(image.isNull());
    }
    // The regular file behind a link reads as ever.
    TitleData data;
    data.setDefaults();
    ASSERT_TRUE(ZvxReader::readFile(path("to-regular.zvx"), data).ok());
    EXPECT_EQ(data.ChText[0], QStringLiteral("kept"));
}
