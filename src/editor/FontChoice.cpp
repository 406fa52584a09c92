#include "FontChoice.h"

namespace FontChoice {

void copy(const QFont &from, QFont &to)
{
    to.setFamily(from.family());
    if (from.pointSizeF() > 0)
        to.setPointSizeF(from.pointSizeF());
    else
        to.setPixelSize(from.pixelSize());
    to.setBold(from.bold());
    to.setItalic(from.italic());
    to.setUnderline(from.underline());
    to.setStrikeOut(from.strikeOut());
}

} // namespace FontChoice
