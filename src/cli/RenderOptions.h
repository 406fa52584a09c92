#pragma once

#include "render/RenderFont.h"
#include "site/TitlesMake.h"

#include <QFont>
#include <QString>
#include <QStringList>

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

    // Takes the options out of `args` and leaves the other arguments in
    // `positional`. Empty when the options are good, otherwise why not.
    QString parse(const QStringList &args, QStringList &positional);
};
