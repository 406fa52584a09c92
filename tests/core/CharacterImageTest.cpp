#include "core/CharacterImage.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<TitleData> titleWithMarks()
{
    auto data = std::make_unique<TitleData>();
    data->setDefaults();
    auto &pattern = data->DotData[17];
    pattern[0] = PixelCode::black();
    pattern[1] = PixelCode::white();
    pattern[2] = PixelCode(); // what a short file leaves
    pattern[215] = PixelCode::white();
    return data;
}

} // namespace

TEST(CharacterImage, SheetHolds16CharactersPerRowWithoutGaps)
{
    const auto data = titleWithMarks();
    const QImage sheet = CharacterImage::sheet(*data);
    ASSERT_EQ(sheet.size(), QSize(192, 288));
    // Code 17 is the second character of the second row.
    EXPECT_EQ(sheet.pixel(12, 18), 0xFF000000u);
    EXPECT_EQ(sheet.pixel(13, 18), 0xFFFFFFFFu);
    EXPECT_EQ(sheet.pixel(14, 18), 0xFFAEAEAEu);
    EXPECT_EQ(sheet.pixel(23, 35), 0xFFFFFFFFu);
    EXPECT_EQ(sheet.pixel(24, 36), 0xFFAEAEAEu);
    EXPECT_EQ(sheet.pixel(191, 287), 0xFFAEAEAEu);
}

TEST(CharacterImage, PageDrawsTheLayerZeroCodeOfEachCell)
{
    auto data = titleWithMarks();
    data->DispData(31, 0, 4) = 17;
    data->DispData(32, 1, 4) = 17; // layer 1 is never drawn
    const QImage page = CharacterImage::page(*data, 4);
    ASSERT_EQ(page.size(), QSize(360, 234));
    EXPECT_EQ(page.pixel(12, 18), 0xFF000000u);
    EXPECT_EQ(page.pixel(23, 35), 0xFFFFFFFFu);
    EXPECT_EQ(page.pixel(24, 18), 0xFFAEAEAEu);
    EXPECT_EQ(CharacterImage::page(*data, 3).pixel(12, 18), 0xFFAEAEAEu);
}

TEST(CharacterImage, UnknownCodesAreLeftUndrawnUnlessAColourIsGiven)
{
    const auto data = titleWithMarks();
    QImage image(12, 18, QImage::Format_RGB32);
    image.fill(0xFF123456);
    CharacterImage::draw(image, QPoint(0, 0), data->DotData[17], CharacterImage::Blank, std::nullopt);
    EXPECT_EQ(image.pixel(2, 0), 0xFF123456u);
    EXPECT_EQ(image.pixel(3, 0), 0xFF808080u);
    // Drawing partly outside the image clips instead of writing past it.
    CharacterImage::draw(image, QPoint(-11, -17), data->DotData[17], CharacterImage::Blank, std::nullopt);
    EXPECT_EQ(image.pixel(0, 0), 0xFFFFFFFFu);
}
