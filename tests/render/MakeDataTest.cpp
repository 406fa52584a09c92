#include "render/MakeData.h"
#include "render/BlockEdit.h"
#include "render/RenderFont.h"

#include "RenderTestData.h"

#include <QImage>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace RenderTestData;

namespace {

bool isWhite(PixelCode c) { return c.isWhite(); }
bool isBlack(PixelCode c) { return c.isBlack(); }

class MakeDataTest : public ::testing::Test
{
protected:
    MakeData::Request request(const QString &text, int block = 0)
    {
        MakeData::Request r;
        r.text = text;
        r.font = RenderFont::defaultFont();
        r.topCode = block * Title::BlockSize + 1;
        r.page = block;
        r.workFolder = m_dir.path() + u'/';
        return r;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(MakeDataTest, RendersAStoresTextEdgesAndLaysOutThePage)
{
    TitleData data = defaults();
    data.DispData(100, 0, 2) = 7;
    data.DispData(100, 1, 2) = 8;
    data.DispData(5, 0, 3) = 9;
    MakeData::Request r = request(QStringLiteral("本日"), 2);
    r.selCell = 36; // row 1, column 6: 24 cells

    const MakeData::Result result = MakeData::run(data, r);
    ASSERT_TRUE(result.done());
    EXPECT_TRUE(result.bitmapWritten);
    EXPECT_EQ(result.cellsPlaced, 24);
    EXPECT_EQ(data.ChText[2], QStringLiteral("本日"));

    // Two wide glyphs at 19 px cover the first few characters, the rest of
    // the block stays fully transparent.
    EXPECT_GT(countBlock(data, 51, isWhite), 40);
    EXPECT_GT(countBlock(data, 51, isBlack), 40);
    for (int k = 5; k < Title::BlockSize; ++k)
        EXPECT_EQ(countBlock(data, 51 + k, [](PixelCode c) { return !c.isTransparent(); }), 0) << k;

    for (int cell = 0; cell < Title::Cells; ++cell) {
        const int expected = cell >= 36 && cell < 60 ? 51 + cell - 36 : 0;
        ASSERT_EQ(data.DispData(cell, 0, 2), expected) << cell;
    }
    EXPECT_EQ(data.DispData(100, 1, 2), 8);
    EXPECT_EQ(data.DispData(5, 0, 3), 9);

    // The bitmap on disk is the drawn picture.
    const QImage bitmap(r.workFolder + MakeData::BitmapName);
    TextPicture picture;
    MakeData::draw(picture, r.text, r.font);
    EXPECT_EQ(bitmap.convertToFormat(QImage::Format_RGB32), picture.image());
}

TEST_F(MakeDataTest, EdgingLaterGivesTheSameAsEdgingWhileRendering)
{
    TitleData edged = defaults();
    TitleData plain = defaults();
    MakeData::Request r = request(QStringLiteral("ABC あいう 123"));
    MakeData::run(edged, r);
    r.edging = false;
    MakeData::run(plain, r);

    EXPECT_EQ(countBlock(plain, 1, isBlack), 0);
    BlockEdit::edge(plain, 1);
    EXPECT_EQ(plain.DotData, edged.DotData);
}

TEST_F(MakeDataTest, RefusedTextChangesNothing)
{
    TitleData data = defaults();
    data.ChText[0] = QStringLiteral("old");
    data.DispData(0, 0, 0) = 5;
    const TitleData before = data;

    const MakeData::Result result = MakeData::run(data, request(QStringLiteral("1,000\"")));
    EXPECT_EQ(result.refused, BlockTextGuard::Problem::CommaAndQuote);
    EXPECT_EQ(data.DotData, before.DotData);
    EXPECT_EQ(data.DispData, before.DispData);
    EXPECT_EQ(data.ChText, before.ChText);
    EXPECT_FALSE(QFile::exists(m_dir.path() + u'/' + MakeData::BitmapName));
}

TEST_F(MakeDataTest, UnwritableWorkFolderDoesNotStopRendering)
{
    TitleData data = defaults();
    MakeData::Request r = request(QStringLiteral("ABC"));
    r.workFolder = m_dir.path() + QStringLiteral("/missing/folder/");
    const MakeData::Result result = MakeData::run(data, r);
    EXPECT_TRUE(result.done());
    EXPECT_FALSE(result.bitmapWritten);
    EXPECT_GT(countBlock(data, 1, isWhite), 20);
}

TEST_F(MakeDataTest, EmptyTextIsTransparentUnlessStruckOut)
{
    TitleData data = defaults();
    MakeData::Request r = request(QString());
    MakeData::run(data, r);
    EXPECT_EQ(countBlock(data, 1, [](PixelCode c) { return !c.isTransparent(); }), 0);

    // The line through the added space lies inside the strip (an underline
    // of this font falls below row 17 and is cut off).
    r.font.setStrikeOut(true);
    MakeData::run(data, r);
    EXPECT_GT(countBlock(data, 1, isWhite), 0);
}

TEST_F(MakeDataTest, DefaultFontDrawsAtNineteenPixelsUnderItsOwnName)
{
    const QFont font = RenderFont::defaultFont();
    EXPECT_EQ(font.family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 14.25);

    QFont byPixels(RenderFont::SubstituteFamily);
    byPixels.setPixelSize(19);
    TextPicture inPoints, inPixels;
    MakeData::draw(inPoints, QStringLiteral("Aあ1"), font);
    MakeData::draw(inPixels, QStringLiteral("Aあ1"), byPixels);
    EXPECT_EQ(inPoints.image(), inPixels.image());

    // Drawn without smoothing: no pixel is anything but black or white.
    const QImage &image = inPoints.image();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y) & 0xFFFFFF;
            ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << x << "," << y;
        }
}

// The font dialog's underline and strike-through must reach the characters:
// each adds one straight line of white dots across the text, inside the 18
// rows, and leaves the glyphs themselves as they were.
TEST_F(MakeDataTest, UnderlineAndStrikeThroughDrawALineInsideTheCharacters)
{
    struct Case
    {
        const char *name;
        void (QFont::*set)(bool);
    };
    const Case cases[] = {{"underline", &QFont::setUnderline}, {"strike-through", &QFont::setStrikeOut}};

    TitleData plain = defaults();
    ASSERT_TRUE(MakeData::renderBlock(plain, request(QStringLiteral("ABC"))).done());

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TitleData lined = defaults();
        MakeData::Request r = request(QStringLiteral("ABC"));
        (r.font.*c.set)(true);
        ASSERT_TRUE(MakeData::renderBlock(lined, r).done());

        // Every dot of the plain text is still white; the added dots make up
        // whole rows across the first two characters.
        QSet<int> addedRows;
        for (int k = 0; k < Title::BlockSize; ++k)
            for (int d = 0; d < Title::VisibleDots; ++d) {
                const PixelCode before = plain.DotData[1 + k][d];
                const PixelCode after = lined.DotData[1 + k][d];
                if (before.isWhite())
                    EXPECT_TRUE(after.isWhite()) << "code " << 1 + k << " dot " << d;
                else if (after.isWhite())
                    addedRows.insert(d / Title::CharWidth);
            }
        ASSERT_FALSE(addedRows.isEmpty());
        for (int row : addedRows)
            for (int code = 1; code <= 2; ++code)
                for (int x = 0; x < Title::CharWidth; ++x)
                    EXPECT_TRUE(dot(lined, code, x, row).isWhite()) << "code " << code << " row " << row << " x " << x;
    }
}
