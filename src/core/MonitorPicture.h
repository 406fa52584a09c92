#pragma once

#include "TitleData.h"

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QSize>

#include <array>
#include <vector>

// What a channel's monitor shows: the video (colour bars, or a still
// picture of the camera) with the overlay's black and white dots on top,
// transparent dots letting the video through. One drawing for every picture
// of a monitor: `orvex page --bars`, the simulator's snapshots and the
// editor's monitor window, so none of them can show the screen differently.
namespace MonitorPicture {

// One dot of the overlay as the monitor sees it; anything that is neither
// black nor white (an empty element included) lets the video through.
enum class Dot : quint8 { Transparent, Black, White };

// The dots of a whole screen page, 360 x 234.
class PageDots
{
public:
    static constexpr int Width = Title::Columns * Title::CharWidth;
    static constexpr int Height = Title::Rows * Title::CharHeight;

    Dot at(int x, int y) const { return m_dots[size_t(y * Width + x)]; }
    void set(int x, int y, Dot dot) { m_dots[size_t(y * Width + x)] = dot; }
    // Sets the 12 x 18 dots of the character in `cell` (0..389); `dotAt`
    // gives dot 0..215 of it.
    template <typename DotAt> void setCell(int cell, DotAt dotAt)
    {
        const int x0 = (cell % Title::Columns) * Title::CharWidth;
        const int y0 = (cell / Title::Columns) * Title::CharHeight;
        for (int dot = 0; dot < Title::VisibleDots; ++dot)
            set(x0 + dot % Title::CharWidth, y0 + dot / Title::CharWidth, dotAt(dot));
    }

    // Layer 0 of a page of the title, drawn with the title's characters.
    static PageDots fromTitle(const TitleData &data, int page);

private:
    std::vector<Dot> m_dots = std::vector<Dot>(size_t(Width * Height), Dot::Transparent);
};

// How the overlay is laid on the video.
struct Look
{
    int scale = 1;   // monitor pixels per dot, each way
    QPoint origin;   // where the page's top-left dot goes
    // The colours of black and white dots, row by row (the device sets
    // levels per row).
    std::array<QRgb, Title::Rows> black = filled(qRgb(0, 0, 0));
    std::array<QRgb, Title::Rows> white = filled(qRgb(255, 255, 255));

    static std::array<QRgb, Title::Rows> filled(QRgb colour)
    {
        std::array<QRgb, Title::Rows> colours;
        colours.fill(colour);
        return colours;
    }
};

// Fills `image` with the video: `still` scaled to cover it (cropped, not
// stretched, and centred) or, when `still` is null, the colour bars.
void paintVideo(QImage &image, const QImage &still = {});

// Draws the black and white dots of `dots` over `image`; dots that fall
// outside the image are left out.
void overlay(QImage &image, const PageDots &dots, const Look &look);

// The monitor of `channel` (0..7) as the title in memory will make it
// look: the page at `scale` pixels per dot over `still`, or over the colour
// bars when `still` is null. The entry the monitor window calls.
QImage channel(const TitleData &data, int channel, const QImage &still = {}, int scale = 1);

} // namespace MonitorPicture
