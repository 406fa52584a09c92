#include "RenderOptions.h"

#include "Commands.h"
#include "VerbParser.h"

#include "core/FileSystem.h"
#include "core/TitleData.h"
#include "core/UserFolders.h"
#include "render/TextPicture.h"

#include <cmath>

namespace {

// One pixel of the strip: any smaller and the text cannot ink a single dot.
constexpr qreal MinPointSize = 72.0 / TextPicture::Dpi;

} // namespace

QFont RenderOptions::font() const
{
    QFont font = RenderFont::defaultFont();
    font.setFamily(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

TitlesMake::Settings RenderOptions::makeSettings() const
{
    TitlesMake::Settings settings;
    settings.font = font();
    settings.edging = edging;
    settings.cell = cell;
    settings.workFolder = UserFolders::forProgram(FileSystem::GetAppPath()).work;
    return settings;
}

void RenderOptions::addTo(VerbParser &verb)
{
    verb.addValue(QStringLiteral("font"), QStringLiteral("NAME"), QStringLiteral("The font family."));
    verb.addValue(QStringLiteral("size"), QStringLiteral("PT"), QStringLiteral("The point size."));
    verb.addFlag(QStringLiteral("bold"), QStringLiteral("Bold."));
    verb.addFlag(QStringLiteral("no-edge"), QStringLiteral("Without the black edging."));
    verb.addValue(QStringLiteral("cell"), QStringLiteral("N"), QStringLiteral("The first cell, 0..389."));
}

QString RenderOptions::take(const VerbParser &verb)
{
    bold = verb.isSet(QStringLiteral("bold"));
    edging = !verb.isSet(QStringLiteral("no-edge"));
    if (verb.isSet(QStringLiteral("font"))) {
        family = verb.value(QStringLiteral("font"));
        if (family.isEmpty())
            return QStringLiteral("--font needs a font name");
    }
    if (verb.isSet(QStringLiteral("size"))) {
        bool ok = false;
        pointSize = verb.value(QStringLiteral("size")).toDouble(&ok);
        // "nan" and "inf" parse as numbers; a size under one pixel draws no dot.
        if (!ok || !std::isfinite(pointSize) || pointSize < MinPointSize || pointSize > 1000)
            return QStringLiteral("--size needs a point size from %1 to 1000").arg(MinPointSize);
    }
    const QString firstCell = verb.value(QStringLiteral("cell"));
    if (verb.isSet(QStringLiteral("cell")) && !Cli::parseInt(firstCell, 0, Title::Cells - 1, cell))
        return QStringLiteral("--cell needs a cell number 0..389");
    return {};
}
