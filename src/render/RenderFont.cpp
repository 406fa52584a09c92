#include "RenderFont.h"

#include <QStringList>

namespace RenderFont {

void installSubstitutions()
{
    if (!QFont::substitutes(DefaultFamily).contains(SubstituteFamily))
        QFont::insertSubstitution(DefaultFamily, SubstituteFamily);
}

QFont defaultFont()
{
    installSubstitutions();
    QFont font(DefaultFamily);
    font.setPointSizeF(DefaultPointSize);
    font.setWeight(QFont::Normal);
    return font;
}

QFont drawingFont(const QFont &chosen)
{
    QFont font(chosen);
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace RenderFont
