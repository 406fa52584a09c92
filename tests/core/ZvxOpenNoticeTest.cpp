#include "ZvxTestData.h"

#include "core/ZvxFormat.h"
#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"
#include "support/QtPrinters.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

namespace {

ZvxReadResult loadBytes(const QByteArray &bytes, TitleData &data)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    ZvxReadResult result = ZvxReader::load(buffer, data);
    result.fileName = QStringLiteral("x.zvx");
    return result;
}

QByteArray pngBytes()
{
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return buffer.data();
}

} // namespace

// Files of another kind, or cut short, still open as they always have; the
// result says how the title differs from the file, naming the line.
TEST(ZvxOpenNotice, FilesOfAnotherKindOrCutShortOpenWithANotice)
{
    TitleData blank;
    blank.setDefaults();
    const QByteArray full = ZvxWriter::serialize(blank);
    // The first `lines` lines of the file.
    auto upTo = [&](qsizetype lines) {
        qsizetype at = 0;
        for (qsizetype i = 0; i < lines; ++i)
            at = full.indexOf("\r\n", at) + 2;
        return full.left(at);
    };
    using Unread = ZvxReadResult::Unread;
    const struct
    {
        const char *name;
        QByteArray bytes;
        bool tagMissing;
        Unread unread;
        int unreadNumber;
        qint64 lastLine;
        const char *said; // part of the notice
        bool anyEnd = false; // where a picture's bytes end is of no interest
    } cases[] = {
        {"complete", full, false, Unread::Nothing, 0, ZvxFormat::TitleLines, nullptr},
        {"complete without the last empty line", full.chopped(2), false, Unread::Nothing, 0, ZvxFormat::TitleLines,
         nullptr},
        {"empty", QByteArray(), true, Unread::Everything, 0, 0, "空です"},
        {"garbage", QByteArray("garbage"), true, Unread::BlockText, 0, 1, "ZelkoVXData"},
        {"picture", pngBytes(), true, Unread::Nothing, 0, 0, "ZelkoVXData", true},
        {"tag only", upTo(1), false, Unread::BlockText, 0, 1, "1行目で終わって"},
        {"five texts", upTo(6), false, Unread::BlockText, 5, 6, "ブロック 5 の文字列"},
        {"into code 3", upTo(11 + 3 * 64 + 10), false, Unread::CharacterCode, 3, 11 + 3 * 64 + 10, "文字コード 3 "},
        {"into page 4", upTo(11 + 16384 + 4 * 13 + 2), false, Unread::ScreenPage, 4, 11 + 16384 + 4 * 13 + 2,
         "画面ページ 4"},
    };
    for (const auto &c : cases) {
        TitleData data;
        data.setDefaults();
        const ZvxReadResult result = loadBytes(c.bytes, data);
        ASSERT_TRUE(result.ok()) << c.name;
        EXPECT_EQ(result.tagMissing, c.tagMissing) << c.name;
        EXPECT_TRUE(c.anyEnd || result.unread == c.unread) << c.name;
        if (c.unread != Unread::Nothing && c.unread != Unread::Everything) {
            EXPECT_EQ(result.unreadNumber, c.unreadNumber) << c.name;
        }
        if (c.lastLine > 0) {
            EXPECT_EQ(result.lastLine, c.lastLine) << c.name;
        }
        EXPECT_EQ(result.changedOnOpening(), c.said != nullptr) << c.name;
        if (c.said) {
            EXPECT_TRUE(result.notice().contains(QString::fromUtf8(c.said))) << c.name << ": "
                                                                              << result.notice().toStdString();
            EXPECT_TRUE(result.notice().contains(QStringLiteral("x.zvx"))) << c.name;
        } else {
            EXPECT_TRUE(result.notice().isEmpty()) << c.name;
        }
    }
}

TEST(ZvxOpenNotice, AFileEndingEarlyNamesItsLastLineAndTheTitlesEnd)
{
    TitleData blank;
    blank.setDefaults();
    const QByteArray full = ZvxWriter::serialize(blank);
    TitleData data;
    data.setDefaults();
    const ZvxReadResult result = loadBytes(full.left(full.indexOf("\r\n", 2000) + 2), data);
    EXPECT_TRUE(result.notice().contains(QStringLiteral("%1行目で終わって").arg(result.lastLine)))
        << result.notice().toStdString();
    EXPECT_TRUE(result.notice().contains(QString::number(ZvxFormat::TitleLines)));
}

TEST(ZvxOpenNotice, ANormalisedTitleCountsAsChangedOnOpening)
{
    TitleData blank;
    blank.setDefaults();
    QByteArray bytes = ZvxWriter::serialize(blank);
    bytes.replace(bytes.indexOf("01010101"), 8, "02010101");
    TitleData data;
    data.setDefaults();
    const ZvxReadResult result = loadBytes(bytes, data);
    ASSERT_TRUE(result.ok());
    EXPECT_FALSE(result.tagMissing);
    EXPECT_FALSE(result.endsEarly());
    EXPECT_EQ(result.normalised.codes, QList<int>{0});
    EXPECT_TRUE(result.changedOnOpening());
    EXPECT_TRUE(result.notice().contains(QStringLiteral("文字コード 0 "))) << result.notice().toStdString();
}
