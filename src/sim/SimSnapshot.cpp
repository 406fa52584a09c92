#include "SimSnapshot.h"

#include "core/MonitorPicture.h"

#include <QColor>

namespace SimSnapshot {

namespace {

constexpr int DotW = 12, DotH = 18;

// Grey value of a black or white dot at the row's levels.
int blackValue(int index)
{
    return 255 * 10 * index / 100; // 0 %, 10 %, 20 %, 30 %
}

int whiteValue(int index)
{
    static const int percent[] = {120, 100, 90, 80};
    return std::min(255, 255 * percent[std::clamp(index, 0, 3)] / 100);
}

// The page as the channel's own memory draws it: the device's packed
// patterns, two bits a dot, 0 black and 2 white.
MonitorPicture::PageDots pageDots(const SimChannel &ch)
{
    using MonitorPicture::Dot;
    MonitorPicture::PageDots dots;
    for (int cell = 0; cell < SimChannel::Rows * SimChannel::Columns; ++cell) {
        const int code = quint8(ch.page.at(cell));
        if (code >= SimChannel::Slots)
            continue; // no such character in the channel's memory
        const QByteArray &pattern = ch.patterns[size_t(code)];
        dots.setCell(cell, [&pattern](int dot) {
            const int bits = (quint8(pattern.at(dot / 4)) >> (6 - 2 * (dot % 4))) & 3;
            return bits == 0 ? Dot::Black : bits == 2 ? Dot::White : Dot::Transparent;
        });
    }
    return dots;
}

} // namespace

QImage render(const SimChannel &ch, bool videoLost)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    if (videoLost)
        image.fill(QColor(0x10, 0x10, 0x60)); // a blue screen, as monitors show no signal
    else
        MonitorPicture::paintVideo(image);
    if (!ch.overlay)
        return image;

    MonitorPicture::Look look;
    look.scale = Scale;
    look.origin = QPoint((Width - SimChannel::Columns * DotW * Scale) / 2 + (ch.hpos - SimChannel::CentreH) * StepPixels,
                         (Height - SimChannel::Rows * DotH * Scale) / 2 + (ch.vpos - SimChannel::CentreV) * StepPixels);
    for (int row = 0; row < SimChannel::Rows; ++row) {
        const int b = blackValue(ch.levels[size_t(row)].black);
        const int w = whiteValue(ch.levels[size_t(row)].white);
        look.black[size_t(row)] = qRgb(b, b, b);
        look.white[size_t(row)] = qRgb(w, w, w);
    }
    MonitorPicture::overlay(image, pageDots(ch), look);
    return image;
}

bool save(const SimChannel &channel, bool videoLost, const QString &fileName)
{
    return render(channel, videoLost).save(fileName, "PNG");
}

} // namespace SimSnapshot
