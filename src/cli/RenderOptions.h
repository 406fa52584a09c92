#pragma once

#include "render/RenderFont.h"
#include "site/TitlesMake.h"

#include <QFont>
#include <QString>
#include <QStringList>

class VerbParser;

// The rendering options shared by `render` and `titles`, so both draw
// with the same font rules.
struct RenderOptions
{
    QString family = RenderFont::DefaultFamily;
    qreal pointSize = RenderFont::DefaultPointSize;
    bool bold = false;
    bool edging = true;
    int cell = 0;

    QFont font() const;
    // The font, edging and cell, with the work folder of this program.
    TitlesMake::Settings makeSettings() const;

    // The options of a verb that renders (render, titles, site make).
    static void addTo(VerbParser &verb);
    // Takes them from a parsed verb. Empty when they are good, otherwise
    // why not.
    QString take(const VerbParser &verb);
};
