#pragma once

#include "core/Twips.h"

#include <QWidget>

// The link windows are laid out in twips, 15 to a pixel at 96 dpi.
namespace Twips {

inline void place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(rect(left, top, width, height));
}

} // namespace Twips
