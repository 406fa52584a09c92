#include "ColourBars.h"

#include <QColor>
#include <QPainter>

#include <iterator>

void ColourBars::draw(QImage &image)
{
    QPainter p(&image);
    const QColor bars[] = {{191, 191, 191}, {191, 191, 0}, {0, 191, 191}, {0, 191, 0},
                           {191, 0, 191},   {191, 0, 0},   {0, 0, 191}};
    const int n = int(std::size(bars));
    const int width = image.width();
    const int height = image.height();
    for (int i = 0; i < n; ++i) {
        const int x0 = i * width / n, x1 = (i + 1) * width / n;
        p.fillRect(x0, 0, x1 - x0, height * 3 / 4, bars[i]);
    }
    p.fillRect(0, height * 3 / 4, width, height - height * 3 / 4, QColor(16, 16, 16));
}
