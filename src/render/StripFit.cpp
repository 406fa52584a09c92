#include "StripFit.h"

#include "RenderFont.h"
#include "TextPicture.h"

#include "core/ScreenLayout.h"
#include "core/TitleData.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>

namespace {

// Characters of the cut-off part named in the warning; the rest is elided.
constexpr qsizetype TailShown = 12;
// Wider than this the whole text is not drawn to find its ink: it is cut
// anyway, and its advance tells by how much.
constexpr int MostDrawn = 4096;

qsizetype withoutTrailingSpace(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    return end;
}

// The columns of a drawing that hold ink in the strip's rows.
struct Ink
{
    int first = -1;
    int last = -1;
    bool any() const { return first >= 0; }
};

// What `runs` ink, drawn as make data draws: black, unsmoothed, with their
// baseline `down` pixels below the layout's and their x shifted by -`from`.
// Columns are counted from `from`.
Ink inkOf(const QList<QGlyphRun> &runs, int from, int width, qreal down)
{
    QImage image = TextPicture::surface(width, Title::CharHeight);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setPen(Qt::black);
        for (const QGlyphRun &run : runs)
            painter.drawGlyphRun(QPointF(-from, down), run);
    }
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if ((row[x] & 0xFFFFFF) != 0)
                continue;
            ink.first = ink.any() ? std::min(ink.first, from + x) : from + x;
            ink.last = std::max(ink.last, from + x);
        }
    }
    return ink;
}

// The whole character (grapheme) that starts at `pos`.
QString letterAt(const QString &text, qsizetype pos)
{
    QTextBoundaryFinder letters(QTextBoundaryFinder::Grapheme, text);
    letters.setPosition(pos);
    const qsizetype end = letters.toNextBoundary();
    return text.mid(pos, end > pos ? end - pos : 1);
}

} // namespace

QString StripFit::Measure::usage() const
{
    return QStringLiteral("%1/%2").arg(charactersUsed).arg(Title::BlockSize);
}

StripFit::Measure StripFit::measure(const QString &text, const QFont &font)
{
    Measure result;
    const QString drawn = text.left(withoutTrailingSpace(text));
    if (drawn.isEmpty())
        return result;

    // The letters alone: a line under or through the text is not a letter
    // the operator could find cut.
    QFont letters = RenderFont::drawingFont(font);
    letters.setUnderline(false);
    letters.setStrikeOut(false);
    // Laid out on the strip's own surface, so the advances are the ones the
    // drawing gets.
    QImage surface = TextPicture::surface(1, 1);
    QTextLayout layout(drawn, letters, &surface);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return result;

    result.width = line.naturalTextWidth();
    // Make data puts the baseline a whole font ascent below the top.
    const qreal down = QFontMetrics(letters, &surface).ascent() - line.ascent();
    // How far a letter's ink may lie outside its advance (an italic's
    // overhang, a wide accent).
    const int stray = qCeil(line.height());
    const int reach = qCeil(result.width) + stray;
    if (reach > MostDrawn) {
        result.charactersUsed = qCeil(result.width / Title::CharWidth);
    } else {
        const Ink ink = inkOf(layout.glyphRuns(), 0, reach, down);
        result.charactersUsed = ink.any() ? (ink.last + Title::CharWidth) / Title::CharWidth : 0;
        if (ink.last < StripWidth)
            return result;
    }
    // Letter by letter (whole graphemes) near the strip's end, each drawn
    // alone where it stands in the line.
    for (int pos = 0; pos < drawn.size();) {
        const int next = layout.nextCursorPosition(pos);
        if (next <= pos)
            break;
        const qreal left = std::min(line.cursorToX(pos), line.cursorToX(next));
        const qreal right = std::max(line.cursorToX(pos), line.cursorToX(next));
        if (right > StripWidth - stray && !drawn.at(pos).isSpace()) {
            const int from = qFloor(left) - stray;
            const Ink ink = inkOf(layout.glyphRuns(pos, next - pos), from, qCeil(right) + stray - from, down);
            if (ink.any() && ink.first >= StripWidth) {
                result.cutAt = pos;
                break;
            }
            if (ink.any() && ink.last >= StripWidth && result.partlyCut < 0) {
                result.partlyCut = pos;
                result.partShown = right > left ? std::clamp((StripWidth - left) / (right - left), 0.0, 1.0) : 0.0;
            }
        }
        pos = next;
    }
    return result;
}

int StripFit::cellsFrom(int selCell)
{
    return ScreenLayout::lastOffset(selCell) + 1;
}

int StripFit::charactersOffRow(const Measure &measure, int selCell)
{
    return std::max(0, std::min(measure.charactersUsed, int(Title::BlockSize)) - cellsFrom(selCell));
}

QString StripFit::warning(const QString &text, const Measure &measure, int selCell)
{
    QStringList parts;
    if (!measure.fits()) {
        QStringList cut;
        if (measure.partlyCut >= 0) {
            cut << QStringLiteral("「%1」は途中で切れ").arg(letterAt(text, measure.partlyCut));
        }
        if (measure.cutAt >= 0) {
            QString tail = text.mid(measure.cutAt);
            tail = tail.left(withoutTrailingSpace(tail));
            if (tail.size() > TailShown)
                tail = tail.left(TailShown) + QStringLiteral("…");
            cut << QStringLiteral("「%1」から後は表示されません").arg(tail);
        }
        parts << QStringLiteral("文字列が%1文字分（%2ドット）に収まらず、%3（%4）。")
                     .arg(Title::BlockSize)
                     .arg(StripWidth)
                     .arg(cut.join(QStringLiteral("、")), measure.usage());
    }
    const int off = charactersOffRow(measure, selCell);
    if (off > 0)
        parts << QStringLiteral("セル%1から置いたブロックは行の残り%2マスにしか入らず、文字列の%3文字分のうち"
                                "後ろの%4文字分が画面に置かれていません。")
                     .arg(selCell)
                     .arg(cellsFrom(selCell))
                     .arg(std::min(measure.charactersUsed, int(Title::BlockSize)))
                     .arg(off);
    return parts.join(QString());
}
