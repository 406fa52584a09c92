#include "ZvxTestData.h"

#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"
#include "support/QtPrinters.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TitleData> readBack(const QByteArray &bytes)
{
    auto data = std::make_unique<TitleData>();
    data->setDefaults();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_TRUE(ZvxReader::read(buffer, *data).ok());
    return data;
}

} // namespace

TEST(ZvxRoundTrip, RestoresEveryStoreExactly)
{
    auto original = makeVariedTitle();
    const QByteArray bytes = ZvxWriter::serialize(*original);
    auto copy = readBack(bytes);

    EXPECT_EQ(copy->DotData, original->DotData); // dots 216..255 included
    EXPECT_EQ(copy->DispData, original->DispData); // both layers, all ten pages
    EXPECT_EQ(copy->ChText, original->ChText);
    EXPECT_EQ(ZvxWriter::serialize(*copy), bytes);
}

TEST(ZvxRoundTrip, FileLayoutLinesAndEnding)
{
    TitleData data;
    data.setDefaults();
    data.ChText[1] = QStringLiteral("a b");
    data.DotData[1][4] = PixelCode::white();
    data.DispData(29, 1, 0) = 7;
    const QByteArray bytes = ZvxWriter::serialize(data);

    const QList<QByteArray> lines = bytes.split('\n');
    // 16526 lines, each ended by CR LF: the split leaves one empty tail.
    ASSERT_EQ(lines.size(), 16527);
    EXPECT_EQ(lines[0], "ZelkoVXData\r");
    EXPECT_EQ(lines[1], "\r");      // block 0, empty
    EXPECT_EQ(lines[2], "a!b\r");   // spaces stored as "!"
    EXPECT_EQ(lines[11], "01010101\r");
    EXPECT_EQ(lines[11 + 64 + 1], "10010101\r"); // code 1, dots 4..7
    EXPECT_TRUE(lines[16395].startsWith("0,0,0,0,"));
    EXPECT_TRUE(lines[16395].endsWith(",0,7\r"));
    EXPECT_EQ(lines[16525], "\r");
    EXPECT_TRUE(bytes.endsWith("\r\n\r\n"));
    EXPECT_EQ(data.ChText[1], "a b"); // the store keeps its spaces
}

TEST(ZvxRoundTrip, EmptyPixelCodesAreWrittenAsTransparentAndFixedInTheStore)
{
    TitleData data;
    data.setDefaults();
    data.DotData[5][2] = PixelCode();
    const QByteArray bytes = ZvxWriter::serialize(data);
    EXPECT_TRUE(data.DotData[5][2].isTransparent());
    EXPECT_EQ(bytes.split('\n')[11 + 5 * 64], "01010101\r");
}

TEST(ZvxRoundTrip, ExclamationMarkReadsBackAsSpace)
{
    TitleData data;
    data.setDefaults();
    data.ChText[0] = "Hi!";
    auto copy = readBack(ZvxWriter::serialize(data));
    EXPECT_EQ(copy->ChText[0], "Hi ");
}

TEST(ZvxRoundTrip, FailedSaveLeavesTheOldFileIntact)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("title.zvx");
    {
        QFile old(name);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old contents");
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    TitleData data;
    data.setDefaults();
    const ZvxWriteResult result = ZvxWriter::writeFile(name, data);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    if (result.ok)
        GTEST_SKIP() << "running as a user that may write into read-only folders";
    EXPECT_FALSE(result.message().isEmpty());
    QFile old(name);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old contents");
}

TEST(ZvxRoundTrip, SaveIntoMissingFolderFails)
{
    TitleData data;
    data.setDefaults();
    const ZvxWriteResult result = ZvxWriter::writeFile("/nonexistent-folder/x.zvx", data);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message().contains("x.zvx"));
}
