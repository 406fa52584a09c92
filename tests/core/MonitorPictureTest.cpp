#include "core/ColourBars.h"
#include "core/CharacterImage.h"
#include "core/MonitorPicture.h"

#include <gtest/gtest.h>

namespace {

// Channel 2's page: a white character at cell 0, a black one at cell 1.
TitleData titleWithTwoCharacters()
{
    TitleData data;
    data.setDefaults();
    data.DotData[26].fill(PixelCode::white());
    data.DotData[27].fill(PixelCode::black());
    data.DispData(0, 0, 1) = 26;
    data.DispData(1, 0, 1) = 27;
    return data;
}

} // namespace

TEST(MonitorPicture, ShowsAStillPictureScaledToThePageUnderTheCharacters)
{
    const TitleData data = titleWithTwoCharacters();
    // Twice as wide as the page is: its middle is what the monitor shows.
    QImage still(1440, 468, QImage::Format_RGB32);
    still.fill(Qt::red);
    for (int y = 0; y < still.height(); ++y)
        for (int x = 360; x < 1080; ++x)
            still.setPixel(x, y, qRgb(0, 0, 255));

    const QImage monitor = MonitorPicture::channel(data, 1, still, 2);
    ASSERT_EQ(monitor.size(), QSize(720, 468));
    EXPECT_EQ(monitor.pixel(10, 10), qRgb(255, 255, 255));    // character 26
    EXPECT_EQ(monitor.pixel(24 + 10, 10), qRgb(0, 0, 0));     // character 27
    EXPECT_EQ(monitor.pixel(100, 200), qRgb(0, 0, 255));      // the picture's middle
    EXPECT_EQ(monitor.pixel(719, 467), qRgb(0, 0, 255));

    // Without a picture: the bars, exactly as the page export draws them.
    const QImage bars = MonitorPicture::channel(data, 1);
    QImage expected(360, 234, QImage::Format_RGB32);
    ColourBars::draw(expected);
    EXPECT_EQ(bars.pixel(200, 100), expected.pixel(200, 100));
    EXPECT_EQ(bars, CharacterImage::page(data, 1, CharacterImage::Background::ColourBars));
}

TEST(MonitorPicture, OverlayIsPlacedScaledAndClippedWithRowColours)
{
    const TitleData data = titleWithTwoCharacters();
    QImage image(30, 30, QImage::Format_RGB32);
    image.fill(Qt::green);
    MonitorPicture::Look look;
    look.scale = 3;
    look.origin = QPoint(-30, -6); // character 26's last columns and rows 2.. only
    look.white[0] = qRgb(200, 200, 200);
    MonitorPicture::overlay(image, MonitorPicture::PageDots::fromTitle(data, 1), look);
    EXPECT_EQ(image.pixel(0, 0), qRgb(200, 200, 200));  // dot (10, 2) of character 26
    EXPECT_EQ(image.pixel(5, 29), qRgb(200, 200, 200)); // dot (11, 11)
    EXPECT_EQ(image.pixel(6, 0), qRgb(0, 0, 0));        // character 27 begins
}
