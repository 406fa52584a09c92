#include "render/StripSampler.h"

#include "RenderTestData.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace RenderTestData;

namespace {

QImage whiteStrip(int width = 304, int height = 22)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace

TEST(StripSampler, OnlyExactlyBlackPixelsBecomeWhiteDots)
{
    QImage strip = whiteStrip();
    strip.setPixel(0, 0, qRgb(0, 0, 0));
    strip.setPixel(1, 0, qRgb(1, 0, 0));
    strip.setPixel(2, 0, qRgb(0, 0, 1));
    strip.setPixel(3, 0, qRgb(0x80, 0x80, 0x80));
    strip.setPixel(12 * 7 + 5, 17, qRgb(0, 0, 0)); // k = 7, bottom visible row

    TitleData data = defaults();
    setDot(data, 27, 0, 0, PixelCode::black()); // an old pattern is overwritten
    StripSampler::PicDataSet(strip, data, 26);

    EXPECT_TRUE(dot(data, 26, 0, 0).isWhite());
    EXPECT_TRUE(dot(data, 26, 1, 0).isTransparent());
    EXPECT_TRUE(dot(data, 26, 2, 0).isTransparent());
    EXPECT_TRUE(dot(data, 26, 3, 0).isTransparent());
    EXPECT_TRUE(dot(data, 26 + 7, 5, 17).isWhite());
    EXPECT_TRUE(dot(data, 27, 0, 0).isTransparent());
    EXPECT_EQ(countBlock(data, 26, [](PixelCode c) { return c.isWhite(); }), 2);
    EXPECT_EQ(countBlock(data, 26, [](PixelCode c) { return c.isBlack(); }), 0);
}

TEST(StripSampler, IgnoresPixelsPastTheStripAndSpareDots)
{
    QImage strip = whiteStrip();
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 300; x < strip.width(); ++x)
            strip.setPixel(x, y, qRgb(0, 0, 0));
    for (int x = 0; x < strip.width(); ++x)
        for (int y = 18; y < strip.height(); ++y)
            strip.setPixel(x, y, qRgb(0, 0, 0));

    TitleData data = defaults();
    for (int code = 0; code < Title::CodeCount; ++code)
        for (int d = Title::VisibleDots; d < Title::DotsPerCode; ++d)
            data.DotData[code][d] = PixelCode::white();
    const TitleData before = data;
    StripSampler::PicDataSet(strip, data, 1);

    EXPECT_EQ(countBlock(data, 1, [](PixelCode c) { return !c.isTransparent(); }), 0);
    // Neighbouring blocks and the spare dots keep their values.
    EXPECT_EQ(data.DotData, before.DotData);
}

TEST(StripSampler, PixelsAnImageDoesNotHaveReadAsTransparent)
{
    QImage strip(100, 10, QImage::Format_RGB32);
    strip.fill(Qt::black);
    TitleData data = defaults();
    StripSampler::PicDataSet(strip, data, 226);

    EXPECT_TRUE(dot(data, 226, 0, 9).isWhite());
    EXPECT_TRUE(dot(data, 226, 0, 10).isTransparent());
    EXPECT_TRUE(dot(data, 226 + 8, 3, 0).isWhite()); // column 99
    EXPECT_TRUE(dot(data, 226 + 8, 4, 0).isTransparent()); // column 100
    EXPECT_TRUE(dot(data, 250, 11, 17).isTransparent());
}
