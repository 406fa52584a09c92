#include "SimSnapshot.h"

#include "core/ColourBars.h"

#include <QColor>

namespace SimSnapshot {

namespace {

constexpr int DotW = 12, DotH = 18;

void drawBackground(QImage &image, bool videoLost)
{
    if (videoLost)
        image.fill(QColor(0x10, 0x10, 0x60)); // a blue screen, as monitors show no signal
    else
        ColourBars::draw(image);
}

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

} // namespace

QImage render(const SimChannel &ch, bool videoLost)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    drawBackground(image, videoLost);
    if (!ch.overlay)
        return image;

    const int originX = (Width - SimChannel::Columns * DotW * Scale) / 2 + (ch.hpos - SimChannel::CentreH) * StepPixels;
    const int originY = (Height - SimChannel::Rows * DotH * Scale) / 2 + (ch.vpos - SimChannel::CentreV) * StepPixels;
    const QRect bounds = image.rect();
    for (int row = 0; row < SimChannel::Rows; ++row) {
        const QRgb black = qRgb(blackValue(ch.levels[row].black), blackValue(ch.levels[row].black),
                                blackValue(ch.levels[row].black));
        const int w = whiteValue(ch.levels[row].white);
        const QRgb white = qRgb(w, w, w);
        for (int col = 0; col < SimChannel::Columns; ++col) {
            const int code = quint8(ch.page.at(row * SimChannel::Columns + col));
            if (code >= SimChannel::Slots)
                continue; // no such character in the channel's memory
            const QByteArray &pattern = ch.patterns[code];
            for (int dot = 0; dot < DotW * DotH; ++dot) {
                const int bits = (quint8(pattern.at(dot / 4)) >> (6 - 2 * (dot % 4))) & 3;
                if (bits != 0 && bits != 2)
                    continue; // transparent
                const QRgb colour = bits == 0 ? black : white;
                const int x = originX + (col * DotW + dot % DotW) * Scale;
                const int y = originY + (row * DotH + dot / DotW) * Scale;
                for (int dy = 0; dy < Scale; ++dy)
                    for (int dx = 0; dx < Scale; ++dx)
                        if (bounds.contains(x + dx, y + dy))
                            image.setPixel(x + dx, y + dy, colour);
            }
        }
    }
    return image;
}

bool save(const SimChannel &channel, bool videoLost, const QString &fileName)
{
    return render(channel, videoLost).save(fileName, "PNG");
}

} // namespace SimSnapshot
