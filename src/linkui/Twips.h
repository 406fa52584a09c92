#pragma once

#include <QRect>
#include <QWidget>

#include <cmath>

// The link windows are laid out in twips, 15 to a pixel at 96 dpi.
namespace Twips {

inline int px(int twips)
{
    return int(std::lround(twips / 15.0));
}

inline QRect rect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

inline void place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(rect(left, top, width, height));
}

} // namespace Twips
