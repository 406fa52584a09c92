// Files from other tools and older copies: whatever opens must save to a
// file that opens again to the same title.

#include "ZvxTestData.h"

#include "core/TitleNormaliser.h"
#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray characterLines(const QByteArray &first)
{
    QByteArray bytes = first;
    for (int i = 1; i < 16384; ++i)
        bytes += "01010101\r\n";
    return bytes;
}

class ZvxKeep : public ::testing::Test
{
protected:
    QString write(const QByteArray &bytes, const char *name = "in.zvx")
    {
        const QString fileName = dir.filePath(QString::fromLatin1(name));
        QFile file(fileName);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return fileName;
    }
    static std::unique_ptr<TitleData> fresh()
    {
        auto data = std::make_unique<TitleData>();
        data->setDefaults();
        return data;
    }
    // Opens `bytes`, saves, opens the save: both reads must agree.
    void expectSaveReopensEqual(const QByteArray &bytes)
    {
        auto opened = fresh();
        ASSERT_TRUE(ZvxReader::readFile(write(bytes), *opened).ok());
        ASSERT_TRUE(ZvxWriter::writeFile(dir.filePath("saved.zvx"), *opened).ok);
        auto reopened = fresh();
        const ZvxReadResult again = ZvxReader::readFile(dir.filePath("saved.zvx"), *reopened);
        ASSERT_TRUE(again.ok()) << qPrintable(again.message());
        EXPECT_TRUE(again.normalised.isEmpty()); // a saved file never needs normalising
        EXPECT_EQ(reopened->ChText, opened->ChText);
        EXPECT_EQ(reopened->DotData, opened->DotData);
        EXPECT_EQ(reopened->DispData, opened->DispData);
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ZvxKeep, QuotedTextWithACommaSurvivesASave)
{
    TitleData source;
    source.setDefaults();
    source.DispData(0, 0, 9) = 200; // the last page proves nothing shifted
    QByteArray bytes = ZvxWriter::serialize(source);
    // Block 2 as another tool writes it: a quoted field holding commas.
    const qsizetype at = bytes.indexOf("\r\n", bytes.indexOf("\r\n", bytes.indexOf("\r\n") + 2) + 2) + 2;
    bytes.insert(at, "\"Tokyo, Japan,\"");

    auto opened = fresh();
    ASSERT_TRUE(ZvxReader::readFile(write(bytes), *opened).ok());
    EXPECT_EQ(opened->ChText[2], "Tokyo, Japan,");
    expectSaveReopensEqual(bytes);

    // Only the text that needs quotes gets them.
    const QByteArray saved = ZvxWriter::serialize(*opened);
    EXPECT_TRUE(saved.contains("\r\n\"Tokyo,!Japan,\"\r\n"));
    EXPECT_EQ(saved.count('"'), 2);
}

TEST_F(ZvxKeep, AFileTheProgramWroteIsReadAndWrittenByteForByte)
{
    auto title = makeVariedTitle();
    const QByteArray bytes = ZvxWriter::serialize(*title);
    auto opened = fresh();
    const ZvxReadResult result = ZvxReader::readFile(write(bytes), *opened);
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.normalised.isEmpty());
    EXPECT_TRUE(result.notice().isEmpty());
    EXPECT_EQ(ZvxWriter::serialize(*opened), bytes);
}

// What cannot be written back as read is changed on opening, and said once.
TEST_F(ZvxKeep, WhatCannotBeKeptIsNormalisedOnOpenAndNamed)
{
    struct Case
    {
        const char *what;
        QByteArray texts;      // fields 1..10 and on, without the tag
        QString block;         // expected text of the block that changes
        int blockNo;           // -1: no block changes
        int code;              // -1: no character changes
        QList<QString> dots;   // expected first dots of that code
    };
    const QByteArray nine = "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
    const Case cases[] = {
        {"CR LF in a text", "\"Tokyo\r\nJapan\"\r\n" + nine, "Tokyo Japan", 0, -1, {}},
        {"lone LF and CR", "x\r\n\"a\nb\rc\"\r\n" + nine.mid(2), "a b c", 1, -1, {}},
        {"byte not in code page 932", "\r\n\r\nab\x81\r\n" + nine.mid(4), "ab?", 2, -1, {}},
        {"element 11 and a,", nine + "\r\n" + characterLines("\"11,01010\"\r\n"), {}, -1, 0, {"01", "01", "10", "10"}},
        {"letters and a half piece", nine + "\r\n" + characterLines("0010ab1\r\n"), {}, -1, 0, {"00", "10", "01", "01"}},
        {"line break in a dot", nine + "\r\n" + characterLines("\"0\r\n\"\r\n"), {}, -1, 0, {"01", "01", "", ""}},
    };
    for (const Case &c : cases) {
        const QByteArray bytes = header() + c.texts;
        auto opened = fresh();
        const ZvxReadResult result = ZvxReader::readFile(write(bytes), *opened);
        ASSERT_TRUE(result.ok()) << c.what;
        if (c.blockNo >= 0) {
            EXPECT_EQ(opened->ChText[c.blockNo], c.block) << c.what;
            EXPECT_EQ(result.normalised.blocks, QList<int>{c.blockNo}) << c.what;
            EXPECT_TRUE(result.notice().contains(QStringLiteral("ブロック %1 ").arg(c.blockNo))) << c.what;
        }
        if (c.code >= 0) {
            for (int dot = 0; dot < c.dots.size(); ++dot)
                EXPECT_EQ(opened->DotData[c.code][dot].toText(), c.dots[dot]) << c.what << " dot " << dot;
            EXPECT_EQ(result.normalised.codes, QList<int>{c.code}) << c.what;
            EXPECT_TRUE(result.notice().contains(QStringLiteral("文字コード %1 ").arg(c.code))) << c.what;
        }
        EXPECT_TRUE(result.notice().contains("in.zvx")) << c.what;
        expectSaveReopensEqual(bytes);
    }
}

TEST_F(ZvxKeep, EmptyDotsStayEmptyUntilSavedAndAreNotReported)
{
    auto opened = fresh();
    const ZvxReadResult result = ZvxReader::readFile(write(header() + "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n0100\r\n"), *opened);
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.normalised.isEmpty());
    EXPECT_TRUE(opened->DotData[0][2].isEmpty());
}

TEST(TitleNormaliser, LongListsAreCutShort)
{
    TitleData data;
    data.setDefaults();
    for (int code = 0; code < Title::CodeCount; ++code)
        data.DotData[code][7] = PixelCode::fromText(u"11");
    const TitleNormaliser::Report report = TitleNormaliser::normalise(data);
    EXPECT_EQ(report.codes.size(), 256);
    const QString message = report.message(QStringLiteral("x.zvx"));
    EXPECT_TRUE(message.contains(QStringLiteral("ほか240個"))) << qPrintable(message);
    EXPECT_TRUE(data.DotData[255][7].isTransparent());
    EXPECT_TRUE(TitleNormaliser::normalise(data).isEmpty());
}
