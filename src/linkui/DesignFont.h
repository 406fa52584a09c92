#pragma once

#include <QFont>
#include <QStringList>
#include <QWidget>

// The link windows are laid out for the 12-pixel Japanese UI Gothic; a wider
// desktop font would push captions past their controls. The first family
// installed wins, the desktop font stands in for all of them.
inline void applyDesignFont(QWidget *window)
{
    QFont font = window->font();
    font.setFamilies({QStringLiteral("MS UI Gothic"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans CJK JP"), font.family()});
    font.setPixelSize(12);
    window->setFont(font);
}
