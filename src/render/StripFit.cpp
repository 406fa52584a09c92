#include "StripFit.h"

#include "RenderFont.h"
#include "TextPicture.h"

#include "core/ScreenLayout.h"
#include "core/TitleData.h"

#include <QTextLayout>
#include <QtMath>

#include <algorithm>

namespace {

// Characters of the cut-off part named in the warning; the rest is elided.
constexpr qsizetype TailShown = 12;

qsizetype withoutTrailingSpace(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    return end;
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

    // Laid out on the strip's own surface, so the advances are the ones the
    // drawing gets.
    QImage surface = TextPicture::surface(1, 1);
    QTextLayout layout(drawn, RenderFont::drawingFont(font), &surface);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return result;

    result.width = line.naturalTextWidth();
    result.charactersUsed = qCeil(result.width / Title::CharWidth - 1e-9);
    if (result.width <= StripWidth)
        return result;
    // The first whole character (grapheme) whose right edge passes the strip.
    for (int pos = 0; pos < drawn.size();) {
        const int next = layout.nextCursorPosition(pos);
        if (next <= pos)
            break;
        if (std::max(line.cursorToX(pos), line.cursorToX(next)) > StripWidth) {
            result.cutAt = pos;
            break;
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
        QString tail = text.mid(measure.cutAt);
        tail = tail.left(withoutTrailingSpace(tail));
        if (tail.size() > TailShown)
            tail = tail.left(TailShown) + QStringLiteral("…");
        parts << QStringLiteral("文字列が%1文字分（%2ドット）に収まらず、「%3」から後が切れています（%4）。")
                     .arg(Title::BlockSize)
                     .arg(StripWidth)
                     .arg(tail, measure.usage());
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
