#include "MonitorPicture.h"

#include "ColourBars.h"

#include <QPainter>

namespace MonitorPicture {

PageDots PageDots::fromTitle(const TitleData &data, int page)
{
    PageDots dots;
    for (int cell = 0; cell < Title::Cells; ++cell) {
        const CharPattern &pattern = data.DotData[data.DispData(cell, 0, page)];
        dots.setCell(cell, [&pattern](int dot) {
            const PixelCode code = pattern[dot];
            return code.isBlack() ? Dot::Black : code.isWhite() ? Dot::White : Dot::Transparent;
        });
    }
    return dots;
}

void paintVideo(QImage &image, const QImage &still)
{
    if (still.isNull()) {
        ColourBars::draw(image);
        return;
    }
    const QImage scaled =
        still.scaled(image.size(), Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    QPainter p(&image);
    p.drawImage(QPoint(0, 0), scaled, QRect((scaled.width() - image.width()) / 2,
                                            (scaled.height() - image.height()) / 2, image.width(),
                                            image.height()));
}

void overlay(QImage &image, const PageDots &dots, const Look &look)
{
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(QImage::Format_RGB32);
    const int scale = std::max(1, look.scale);
    for (int y = 0; y < PageDots::Height; ++y) {
        const int row = y / Title::CharHeight;
        for (int sy = 0; sy < scale; ++sy) {
            const int iy = look.origin.y() + y * scale + sy;
            if (iy < 0 || iy >= image.height())
                continue;
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(iy));
            for (int x = 0; x < PageDots::Width; ++x) {
                const Dot dot = dots.at(x, y);
                if (dot == Dot::Transparent)
                    continue;
                const QRgb colour = dot == Dot::Black ? look.black[size_t(row)] : look.white[size_t(row)];
                for (int sx = 0; sx < scale; ++sx) {
                    const int ix = look.origin.x() + x * scale + sx;
                    if (ix >= 0 && ix < image.width())
                        line[ix] = colour;
                }
            }
        }
    }
}

QImage channel(const TitleData &data, int channel, const QImage &still, int scale)
{
    scale = std::max(1, scale);
    QImage image(PageDots::Width * scale, PageDots::Height * scale, QImage::Format_RGB32);
    paintVideo(image, still);
    Look look;
    look.scale = scale;
    overlay(image, PageDots::fromTitle(data, channel), look);
    return image;
}

} // namespace MonitorPicture
