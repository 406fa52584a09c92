#include "SimSnapshot.h"

#include <QColor>
#include <QPainter>

namespace SimSnapshot {

namespace {

constexpr int DotW = 12, DotH = 18;

void drawBars(QImage &image, bool videoLost)
{
    QPainter p(&image);
    if (videoLost) {
        p.fillRect(image.rect(), QColor(0x10, 0x10, 0x60)); // a blue screen, as monitors show no signal
        return;
    }
    const QColor bars[] = {{191, 191, 191}, {191, 191, 0}, {0, 191, 191}, {0, 191, 0},
                           {191, 0, 191},   {191, 0, 0},   {0, 0, 191}};
    const int n = int(std::size(bars));
    for (int i = 0; i < n; ++i) {
        const int x0 = i * Width / n, x1 = (i + 1) * Width / n;
        p.fillRect(x0, 0, x1 - x0, Height * 3 / 4, bars[i]);
    }
    p.fillRect(0, Height * 3 / 4, Width, Height - Height * 3 / 4, QColor(16, 16, 16));
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
    drawBars(image, videoLost);
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
