#include "render/MakeData.h"
#include "render/RenderFont.h"
#include "render/StripFit.h"
#include "render/StripSampler.h"
#include "render/TextPicture.h"

#include "RenderTestData.h"
#include "support/QtPrinters.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace RenderTestData;

namespace {

// The strip characters the drawn text inks, counted from the left: one past
// the last character with a white dot.
int inkedCharacters(const QString &text, const QFont &font)
{
    TextPicture picture;
    MakeData::draw(picture, text, font);
    TitleData data = defaults();
    StripSampler::PicDataSet(picture.image(), data, 1);
    int inked = 0;
    for (int k = 0; k < Title::BlockSize; ++k)
        if (std::any_of(data.DotData[1 + k].begin(), data.DotData[1 + k].begin() + Title::VisibleDots,
                        [](PixelCode c) { return c.isWhite(); }))
            inked = k + 1;
    return inked;
}

// The columns, counted from the text's left edge, in which make data's
// drawing of `text` inks the strip's rows; drawn four characters to the
// left, so that what lies past the strip's end shows too.
std::set<int> inkColumns(const QString &text, const QFont &font)
{
    constexpr int Shift = 48;
    TextPicture picture;
    picture.PicPrint(-Shift, 0, text + u' ', font);
    std::set<int> columns;
    for (int y = 0; y < Title::CharHeight; ++y)
        for (int x = 0; x < TextPicture::Width; ++x)
            if ((picture.image().pixel(x, y) & 0xFFFFFF) == 0)
                columns.insert(x + Shift);
    return columns;
}

// The first and last column the character at `index` adds to the ink of
// the text before it.
std::pair<int, int> addedInk(const QString &text, qsizetype index, const QFont &font)
{
    std::set<int> added = inkColumns(text.left(index + 1), font);
    for (int column : inkColumns(text.left(index), font))
        added.erase(column);
    return added.empty() ? std::pair(-1, -1) : std::pair(*added.begin(), *added.rbegin());
}

} // namespace

// The cut is where the strip really ends, checked against the drawing make
// data samples: the letters before it are whole, a letter the strip's end
// runs through starts inside and ends past it, the first letter not shown
// at all inks only past it, and nothing from there on changes the block.
TEST(StripFit, TheCutIsWhereTheDrawnStripEnds)
{
    const QFont font = RenderFont::defaultFont();
    const QString parking = QStringLiteral("Parking Lot North Gate Entrance East Side Camera");
    const struct
    {
        QString text;
        qsizetype partly;
        qsizetype notShown;
    } cases[] = {
        {parking, parking.indexOf(u'E', 30), parking.indexOf(u'E', 30) + 1},
        {QString(40, u'あ'), 17, 18},
        {QStringLiteral("0123456789012345678901234567890123456789"), -1, 25}, // ends between two digits
    };
    const QTemporaryDir work;
    const auto made = [&](const QString &text) {
        TitleData data = defaults();
        MakeData::renderBlock(data, {text, font, false, 1, 0, 0, work.path() + u'/'});
        return data.DotData;
    };
    for (const auto &c : cases) {
        const std::string name = c.text.toStdString();
        const StripFit::Measure m = StripFit::measure(c.text, font);
        EXPECT_EQ(m.partlyCut, c.partly) << name;
        EXPECT_EQ(m.cutAt, c.notShown) << name;
        EXPECT_LT(*inkColumns(c.text.left(m.markIndex()), font).rbegin(), StripFit::StripWidth) << name;
        if (c.partly >= 0) {
            const auto [first, last] = addedInk(c.text, c.partly, font);
            EXPECT_TRUE(first >= 0 && first < StripFit::StripWidth && last >= StripFit::StripWidth)
                << name << ": " << first << ".." << last;
            EXPECT_TRUE(m.partShown > 0 && m.partShown < 1) << name;
        }
        EXPECT_GE(addedInk(c.text, c.notShown, font).first, StripFit::StripWidth) << name;
        EXPECT_EQ(made(c.text.left(c.notShown)), made(c.text)) << name;
    }
    const QString said = StripFit::warning(parking, StripFit::measure(parking, font), 0);
    EXPECT_TRUE(said.contains(QStringLiteral("「E」は途中で切れ、「ast Side Cam…」から後は表示されません")))
        << said.toStdString();
}

// The measure agrees with what make data draws: the ink stays within the
// characters it counts, a text that fits inks no more than that, and a cut
// text is cut exactly where it says.
TEST(StripFit, MeasuresTheTextAsItIsDrawn)
{
    const QFont font = RenderFont::defaultFont();
    QFont big = font;
    big.setPointSizeF(40);
    const struct
    {
        QString text;
        QFont font;
        bool fits;
    } cases[] = {
        {QString(), font, true},
        {QStringLiteral("   "), font, true},
        {QStringLiteral("本日のニュース"), font, true},
        {QStringLiteral("Tokyo, Japan"), font, true},
        {QStringLiteral("東京, 大阪"), font, true},
        {QStringLiteral("ABC") + QString(200, u' '), font, true}, // trailing spaces draw nothing
        {QString(40, u'あ'), font, false},
        {QStringLiteral("The quick brown fox jumps over the lazy dog"), font, false},
        {QStringLiteral("本日のニュース"), big, false},
    };
    for (const auto &c : cases) {
        const std::string name = c.text.left(20).toStdString();
        const StripFit::Measure m = StripFit::measure(c.text, c.font);
        EXPECT_EQ(m.fits(), c.fits) << name;
        EXPECT_EQ(m.fits(), m.width <= StripFit::StripWidth) << name;
        EXPECT_EQ(m.charactersUsed > Title::BlockSize, !m.fits()) << name;
        EXPECT_EQ(m.usage(), QStringLiteral("%1/25").arg(m.charactersUsed)) << name;
        const int inked = inkedCharacters(c.text, c.font);
        if (m.fits()) {
            EXPECT_EQ(inked, m.charactersUsed) << name;
            continue;
        }
        // (A font taller than the strip inks nothing in its top rows.)
        if (c.font == font) {
            EXPECT_EQ(inked, Title::BlockSize) << name << ": a cut text runs through the last character";
        }
        ASSERT_GT(m.markIndex(), 0) << name;
        EXPECT_TRUE(StripFit::measure(c.text.left(m.markIndex()), c.font).fits()) << name;
        EXPECT_FALSE(StripFit::measure(c.text.left(m.markIndex() + 1), c.font).fits()) << name;
    }
    EXPECT_EQ(StripFit::measure(QStringLiteral("ABC") + QString(200, u' '), font).usage(),
              StripFit::measure(QStringLiteral("ABC"), font).usage());
    EXPECT_EQ(StripFit::measure(QString(), font).usage(), QStringLiteral("0/25"));
}

TEST(StripFit, TheBlockFitsInTheRowOnlyAsFarAsItsEnd)
{
    const struct
    {
        int selCell;
        int cells;
    } cells[] = {{0, 25}, {5, 25}, {6, 24}, {13, 17}, {29, 1}, {30 + 13, 17}, {389, 1}};
    for (const auto &c : cells)
        EXPECT_EQ(StripFit::cellsFrom(c.selCell), c.cells) << c.selCell;

    StripFit::Measure ten;
    ten.charactersUsed = 10;
    EXPECT_EQ(StripFit::charactersOffRow(ten, 13), 0);
    EXPECT_EQ(StripFit::charactersOffRow(ten, 20), 0);
    EXPECT_EQ(StripFit::charactersOffRow(ten, 25), 5);
    EXPECT_EQ(StripFit::charactersOffRow(ten, 389), 9);
    StripFit::Measure cut;
    cut.charactersUsed = 40;
    cut.cutAt = 30;
    EXPECT_EQ(StripFit::charactersOffRow(cut, 0), 0) << "the strip's own 25 at most";
    EXPECT_EQ(StripFit::charactersOffRow(cut, 13), 8);
}

TEST(StripFit, TheWarningNamesWhatWasCutInOneLine)
{
    const QFont font = RenderFont::defaultFont();
    const QString fits = QStringLiteral("本日のニュース");
    const QString tooLong = QStringLiteral("0123456789ABCDEFGHIJ0123456789abcdefghij0123456789");
    const StripFit::Measure fitting = StripFit::measure(fits, font);
    const StripFit::Measure cut = StripFit::measure(tooLong, font);
    ASSERT_FALSE(cut.fits());

    EXPECT_TRUE(StripFit::warning(fits, fitting, 0).isEmpty());
    EXPECT_TRUE(StripFit::warning(fits, fitting, 30 + 13).isEmpty());

    const QString cutOnly = StripFit::warning(tooLong, cut, 0);
    EXPECT_TRUE(cutOnly.contains(QStringLiteral("「") + tooLong.mid(cut.cutAt, 12) + QStringLiteral("…」")))
        << cutOnly.toStdString();
    EXPECT_TRUE(cutOnly.contains(cut.usage())) << cutOnly.toStdString();

    const QString offRow = StripFit::warning(fits, fitting, 28);
    EXPECT_TRUE(offRow.contains(QStringLiteral("セル28"))) << offRow.toStdString();
    EXPECT_TRUE(offRow.contains(QStringLiteral("残り2マス"))) << offRow.toStdString();

    const QString both = StripFit::warning(tooLong, cut, 13);
    EXPECT_TRUE(both.startsWith(cutOnly)) << both.toStdString();
    EXPECT_TRUE(both.contains(QStringLiteral("セル13"))) << both.toStdString();
    EXPECT_FALSE(both.contains(u'\n'));
}

TEST(StripFit, MakeDataStillMakesACutTitleAndSaysWhatWasCut)
{
    const QTemporaryDir work;
    MakeData::Request r;
    r.workFolder = work.path() + u'/';
    r.font = RenderFont::defaultFont();
    r.text = QString(40, u'あ');
    r.selCell = 13;
    TitleData data = defaults();
    const MakeData::Result result = MakeData::run(data, r);
    ASSERT_TRUE(result.done());
    EXPECT_EQ(result.cellsPlaced, 17);
    EXPECT_EQ(data.ChText[0], r.text);
    EXPECT_FALSE(result.fit.fits());
    EXPECT_EQ(result.cutWarning, StripFit::warning(r.text, result.fit, r.selCell));

    r.text = QStringLiteral("本日");
    r.selCell = 0;
    EXPECT_TRUE(MakeData::run(data, r).cutWarning.isEmpty());
}
