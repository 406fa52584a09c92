#pragma once

#include <QFont>

namespace FontChoice {

// What the font dialog decides about a font (family, size, bold, italic,
// underline, strike-through) copied onto `to`; its colour and anything else
// it may carry are not used.
void copy(const QFont &from, QFont &to);

} // namespace FontChoice
