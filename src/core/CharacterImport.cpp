#include "CharacterImport.h"

#include "CharacterImage.h"

#include <array>

namespace CharacterImport {

namespace {

struct Candidate
{
    QRgb colour;
    PixelCode code;
};

const std::array<Candidate, 3> Candidates = {{
    {CharacterImage::Black, PixelCode::black()},
    {CharacterImage::White, PixelCode::white()},
    {CharacterImage::Transparent, PixelCode::transparent()},
}};

// Sum of the colours of some pixels, each laid over the transparent grey,
// in units of 1/255 of a colour step so that no rounding happens per pixel.
struct ColourSum
{
    qint64 red = 0, green = 0, blue = 0;
    qint64 pixels = 0;

    void add(QRgb pixel)
    {
        const int alpha = qAlpha(pixel);
        const auto over = [alpha](int value, int under) {
            return qint64(value) * alpha + qint64(under) * (255 - alpha);
        };
        red += over(qRed(pixel), qRed(CharacterImage::Transparent));
        green += over(qGreen(pixel), qGreen(CharacterImage::Transparent));
        blue += over(qBlue(pixel), qBlue(CharacterImage::Transparent));
        ++pixels;
    }

    PixelCode nearest() const
    {
        // Compared as means; products of the sums would overflow for the
        // largest pictures Qt will read.
        const double scale = 255.0 * double(pixels);
        const double r = double(red) / scale, g = double(green) / scale, b = double(blue) / scale;
        const auto squared = [](double v) { return v * v; };
        PixelCode best = Candidates[0].code;
        double bestDistance = -1;
        for (const Candidate &c : Candidates) {
            const double distance
                = squared(r - qRed(c.colour)) + squared(g - qGreen(c.colour)) + squared(b - qBlue(c.colour));
            if (bestDistance < 0 || distance < bestDistance) {
                bestDistance = distance;
                best = c.code;
            }
        }
        return best;
    }
};

// The whole factor by which `actual` enlarges `base`, or 0 when it is none.
int wholeScale(QSize actual, QSize base)
{
    if (actual.width() <= 0 || actual.width() % base.width() != 0)
        return 0;
    const int scale = actual.width() / base.width();
    return actual == base * scale ? scale : 0;
}

QString sizeText(QSize size)
{
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

QString wrongSize(QSize actual, QSize base)
{
    return QStringLiteral("画像の大きさ %1 は読み込めません。%2、またはその整数倍（%3、%4 …）の画像を選んでください。")
        .arg(sizeText(actual), sizeText(base), sizeText(base * 2), sizeText(base * 3));
}

} // namespace

PixelCode nearestCode(QRgb pixel)
{
    ColourSum sum;
    sum.add(pixel);
    return sum.nearest();
}

PatternImport read(const QImage &image, const TitleData &data, const CharacterLayout &layout)
{
    PatternImport result;
    result.firstCode = layout.firstCode;
    const int scale = wholeScale(image.size(), layout.size());
    if (scale == 0) {
        result.error = wrongSize(image.size(), layout.size());
        return result;
    }
    // Straight (not premultiplied) colours, whatever the file held.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    result.patterns.reserve(layout.count);
    for (int index = 0; index < layout.count; ++index) {
        CharPattern pattern = data.DotData[layout.firstCode + index];
        const QPoint origin = layout.topLeft(index) * scale;
        for (int dot = 0; dot < Title::VisibleDots; ++dot) {
            const int x0 = origin.x() + (dot % Title::CharWidth) * scale;
            const int y0 = origin.y() + (dot / Title::CharWidth) * scale;
            ColourSum sum;
            for (int y = y0; y < y0 + scale; ++y) {
                const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
                for (int x = x0; x < x0 + scale; ++x)
                    sum.add(line[x]);
            }
            pattern[dot] = sum.nearest();
        }
        result.patterns.push_back(pattern);
    }
    return result;
}

void apply(TitleData &data, int firstCode, const std::vector<CharPattern> &patterns)
{
    for (std::size_t i = 0; i < patterns.size(); ++i)
        data.DotData[firstCode + int(i)] = patterns[i];
}

} // namespace CharacterImport
