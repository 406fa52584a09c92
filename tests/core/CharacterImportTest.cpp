#include "support/QtPrinters.h"

#include "core/CharacterImage.h"
#include "core/CharacterImport.h"
#include "core/ColourBars.h"
#include "core/ImageFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {

const PixelCode Codes[] = {PixelCode::black(), PixelCode::white(), PixelCode::transparent()};

std::unique_ptr<TitleData> randomTitle(unsigned seed)
{
    auto data = std::make_unique<TitleData>();
    data->setDefaults();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, 2);
    for (auto &pattern : data->DotData)
        for (auto &dot : pattern)
            dot = Codes[pick(random)];
    return data;
}

// Dots 216..255 marked so that a reader which touched them shows up.
void markSpareDots(TitleData &data)
{
    for (auto &pattern : data.DotData)
        for (int dot = Title::VisibleDots; dot < Title::DotsPerCode; ++dot)
            pattern[dot] = PixelCode::fromText(u"11");
}

PatternImport importInto(TitleData &data, const QImage &image, const CharacterLayout &layout)
{
    const PatternImport result = CharacterImport::read(image, data, layout);
    if (result.ok())
        CharacterImport::apply(data, result.firstCode, result.patterns);
    return result;
}

} // namespace

TEST(CharacterImport, SheetExportReadsBackAsTheSameCharactersAtAnyWholeScale)
{
    const auto original = randomTitle(12);
    const QImage sheet = CharacterImage::sheet(*original);
    for (int scale : {1, 2, 3, 5}) {
        auto target = randomTitle(99);
        markSpareDots(*target);
        const PatternImport result = importInto(
            *target, sheet.scaled(sheet.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation),
            CharacterLayout::sheet());
        ASSERT_TRUE(result.ok()) << result.error.toStdString();
        EXPECT_EQ(result.firstCode, 0);
        EXPECT_EQ(result.patterns.size(), 256u);
        for (int code = 0; code < Title::CodeCount; ++code) {
            for (int dot = 0; dot < Title::DotsPerCode; ++dot) {
                const PixelCode expected = dot < Title::VisibleDots ? original->DotData[code][dot]
                                                                    : PixelCode::fromText(u"11");
                ASSERT_EQ(target->DotData[code][dot], expected) << "scale " << scale << " code " << code << " dot "
                                                                << dot;
            }
        }
    }
}

TEST(CharacterImport, BlockStripReplacesOnlyTheBlocksCharacters)
{
    const auto source = randomTitle(3);
    const QImage strip = CharacterImage::characters(*source, CharacterLayout::block(4));
    ASSERT_EQ(strip.size(), QSize(300, 18));

    auto target = randomTitle(4);
    const TitleData before = *target;
    const QImage doubled = strip.scaled(600, 36);
    ASSERT_TRUE(importInto(*target, doubled, CharacterLayout::block(7)).ok());
    for (int code = 0; code < Title::CodeCount; ++code) {
        const bool inBlock = code >= 176 && code <= 200;
        // Block 4's picture lands on block 7: code 176 + k gets 101 + k.
        const CharPattern &expected = inBlock ? source->DotData[code - 75] : before.DotData[code];
        for (int dot = 0; dot < Title::VisibleDots; ++dot)
            ASSERT_EQ(target->DotData[code][dot], expected[dot]) << code << " " << dot;
    }
}

TEST(CharacterImport, EachPixelTakesTheNearestColour)
{
    struct Case
    {
        QRgb pixel;
        PixelCode expected;
    };
    const Case cases[] = {
        {qRgba(0, 0, 0, 255), PixelCode::black()},
        {qRgba(255, 255, 255, 255), PixelCode::white()},
        {qRgba(0xAE, 0xAE, 0xAE, 255), PixelCode::transparent()},
        // Anti-aliased edges and slightly-off colours of a paint program.
        {qRgba(40, 30, 50, 255), PixelCode::black()},
        {qRgba(80, 80, 80, 255), PixelCode::black()},
        {qRgba(100, 100, 100, 255), PixelCode::transparent()},
        {qRgba(200, 200, 200, 255), PixelCode::transparent()},
        {qRgba(230, 230, 230, 255), PixelCode::white()},
        {qRgba(250, 240, 255, 255), PixelCode::white()},
        // Alpha 0 is transparent whatever colour the pixel keeps.
        {qRgba(0, 0, 0, 0), PixelCode::transparent()},
        {qRgba(255, 255, 255, 0), PixelCode::transparent()},
        // Partly transparent pixels count as laid over the grey.
        {qRgba(0, 0, 0, 230), PixelCode::black()},
        {qRgba(0, 0, 0, 40), PixelCode::transparent()},
        {qRgba(255, 255, 255, 250), PixelCode::white()},
        {qRgba(255, 255, 255, 60), PixelCode::transparent()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CharacterImport::nearestCode(c.pixel), c.expected) << std::hex << c.pixel;
}

TEST(CharacterImport, AScaledDotTakesTheMeanOfItsPixels)
{
    TitleData data;
    data.setDefaults();
    QImage strip(600, 36, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    // Dot 0 of the first character: three dark pixels and one light edge.
    strip.setPixel(0, 0, qRgb(20, 20, 20));
    strip.setPixel(1, 0, qRgb(10, 10, 10));
    strip.setPixel(0, 1, qRgb(0, 0, 0));
    strip.setPixel(1, 1, qRgb(240, 240, 240));
    // Dot 1: mostly white with a grey corner.
    strip.setPixel(2, 0, qRgb(255, 255, 255));
    strip.setPixel(3, 0, qRgb(250, 250, 250));
    strip.setPixel(2, 1, qRgb(255, 255, 255));
    strip.setPixel(3, 1, qRgb(174, 174, 174));
    const PatternImport result = CharacterImport::read(strip, data, CharacterLayout::block(0));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.patterns[0][0], PixelCode::black());
    EXPECT_EQ(result.patterns[0][1], PixelCode::white());
    EXPECT_EQ(result.patterns[0][2], PixelCode::transparent());
}

TEST(CharacterImport, APictureOfAnotherSizeIsRefusedWithTheSizesItWants)
{
    auto data = randomTitle(5);
    const TitleData before = *data;
    struct Case
    {
        QSize size;
        CharacterLayout layout;
        const char *named;
    };
    const Case cases[] = {
        {{191, 288}, CharacterLayout::sheet(), "192 x 288"},
        {{384, 288}, CharacterLayout::sheet(), "384 x 576"},
        {{288, 192}, CharacterLayout::sheet(), "192 x 288"},
        {{0, 0}, CharacterLayout::sheet(), "192 x 288"},
        {{300, 36}, CharacterLayout::block(2), "300 x 18"},
        {{192, 288}, CharacterLayout::block(2), "600 x 36"},
    };
    for (const Case &c : cases) {
        QImage image = c.size.isEmpty() ? QImage() : QImage(c.size, QImage::Format_RGB32);
        if (!image.isNull())
            image.fill(Qt::black);
        const PatternImport result = importInto(*data, image, c.layout);
        EXPECT_FALSE(result.ok()) << c.size.width() << "x" << c.size.height();
        EXPECT_TRUE(result.patterns.empty());
        EXPECT_TRUE(result.error.contains(QString::fromLatin1(c.named))) << result.error.toStdString();
    }
    EXPECT_EQ(data->DotData, before.DotData);
}

TEST(CharacterImage, PageOverColourBarsShowsTheVideoOnlyThroughTransparentDots)
{
    TitleData data;
    data.setDefaults();
    data.DotData[5][0] = PixelCode::black();
    data.DotData[5][1] = PixelCode::white();
    data.DotData[5][2] = PixelCode(); // unknown dots count as transparent, as on the sheet
    data.DispData(0, 0, 2) = 5;
    const QImage page = CharacterImage::page(data, 2, CharacterImage::Background::ColourBars);
    QImage bars(page.size(), QImage::Format_RGB32);
    ColourBars::draw(bars);
    EXPECT_EQ(page.pixel(0, 0), CharacterImage::Black);
    EXPECT_EQ(page.pixel(1, 0), CharacterImage::White);
    EXPECT_EQ(page.pixel(2, 0), bars.pixel(2, 0));
    EXPECT_EQ(page.pixel(359, 233), bars.pixel(359, 233));
    // Seven bars: the first light grey, the last blue, a dark band below.
    EXPECT_EQ(bars.pixel(10, 10), qRgb(191, 191, 191));
    EXPECT_EQ(bars.pixel(355, 10), qRgb(0, 0, 191));
    EXPECT_EQ(bars.pixel(10, 230), qRgb(16, 16, 16));
}

TEST(ImageFile, SavesWholePicturesAndSaysWhyWhenItCannot)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("sheet.png"));
    TitleData data;
    data.setDefaults();
    const QImage sheet = CharacterImage::sheet(data);
    ASSERT_TRUE(ImageFile::savePng(sheet, name).isEmpty());
    QImage read;
    ASSERT_TRUE(ImageFile::load(name, read).isEmpty());
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), sheet);
    // Only the picture is left behind, no temporary file.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("sheet.png")});

    const QString missing = dir.filePath(QStringLiteral("no/such/folder/out.png"));
    const QString why = ImageFile::savePng(sheet, missing);
    EXPECT_TRUE(why.contains(missing)) << why.toStdString();
    EXPECT_FALSE(QFile::exists(missing));

    QFile notAPicture(dir.filePath(QStringLiteral("text.png")));
    ASSERT_TRUE(notAPicture.open(QIODevice::WriteOnly));
    notAPicture.write("not a picture");
    notAPicture.close();
    QImage untouched(3, 3, QImage::Format_RGB32);
    untouched.fill(Qt::red);
    const QImage kept = untouched;
    EXPECT_FALSE(ImageFile::load(notAPicture.fileName(), untouched).isEmpty());
    EXPECT_FALSE(ImageFile::load(dir.filePath(QStringLiteral("missing.png")), untouched).isEmpty());
    EXPECT_EQ(untouched, kept);
}

namespace {

QStringList capturedQtMessages;

void captureQtMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    capturedQtMessages << message;
}

} // namespace

TEST(ImageFile, AHugePictureIsRefusedFromItsHeaderInTheOperatorsWords)
{
    QTemporaryDir dir;
    // A PNG whose header claims 20000 x 20000 pixels, with a few bytes of picture data.
    const QString name = dir.filePath(QStringLiteral("huge.png"));
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200004e2000004e2008020000006c12d16e"
                                   "0000000b49444154789c63604005000010000139bd8f650000000049454e44ae426082"));
    file.close();

    capturedQtMessages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureQtMessage);
    QImage image;
    const QString why = ImageFile::load(name, image);
    qInstallMessageHandler(previous);

    EXPECT_TRUE(why.contains(name)) << why.toStdString();
    EXPECT_TRUE(why.contains(QStringLiteral("20000 x 20000"))) << why.toStdString();
    EXPECT_TRUE(why.contains(QString::number(ImageFile::MaxSide))) << why.toStdString();
    EXPECT_TRUE(capturedQtMessages.isEmpty()) << capturedQtMessages.join(u'\n').toStdString();
    EXPECT_TRUE(image.isNull());
}
