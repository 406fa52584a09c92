#pragma once

#include <QFont>
#include <QString>

// The font the text box starts with, and the font actually used to draw.
namespace RenderFont {

// The name the operator sees; titles are made with it on the device's home
// platform, so it stays the name even where the font itself is missing.
inline const QString DefaultFamily = QStringLiteral("ＭＳ Ｐゴシック");
// The free font with the same metrics that stands in for it.
inline const QString SubstituteFamily = QStringLiteral("IPAPGothic");
constexpr qreal DefaultPointSize = 14.25;

// Maps the default family to its stand-in; safe to call more than once.
void installSubstitutions();

// The text box's font at start: the default family at 14.25 pt, normal
// weight. Installs the substitution first.
QFont defaultFont();

// The font to draw a text with: the chosen font with smoothing off, so every
// inked pixel is exactly black and survives sampling.
QFont drawingFont(const QFont &chosen);

} // namespace RenderFont
