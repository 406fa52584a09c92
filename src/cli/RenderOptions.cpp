#include "RenderOptions.h"

#include "Commands.h"

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

QString RenderOptions::parse(const QStringList &args, QStringList &positional)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--bold")) {
            bold = true;
        } else if (arg == QLatin1String("--no-edge")) {
            edging = false;
        } else if (arg == QLatin1String("--font")) {
            if (!hasValue || args[i + 1].isEmpty())
                return QStringLiteral("--font needs a font name");
            family = args[++i];
        } else if (arg == QLatin1String("--size")) {
            bool ok = false;
            pointSize = hasValue ? args[++i].toDouble(&ok) : 0;
            // "nan" and "inf" parse as numbers; a size under one pixel draws no dot.
            if (!ok || !std::isfinite(pointSize) || pointSize < MinPointSize || pointSize > 1000)
                return QStringLiteral("--size needs a point size from %1 to 1000").arg(MinPointSize);
        } else if (arg == QLatin1String("--cell")) {
            if (!hasValue || !Cli::parseInt(args[++i], 0, Title::Cells - 1, cell))
                return QStringLiteral("--cell needs a cell number 0..389");
        } else if (arg.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option \"%1\"").arg(arg);
        } else {
            positional << arg;
        }
    }
    return {};
}
