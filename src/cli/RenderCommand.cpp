#include "Commands.h"
#include "TitleFile.h"

#include "core/FileSystem.h"
#include "core/TitleData.h"
#include "core/UserFolders.h"
#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"
#include "render/MakeData.h"
#include "render/RenderFont.h"
#include "render/TextPicture.h"

#include <cmath>

namespace {

// One pixel of the strip: any smaller and the text cannot ink a single dot.
constexpr qreal MinPointSize = 72.0 / TextPicture::Dpi;

struct RenderArguments
{
    QString in;
    int block = 0;
    QString text;
    QString out;
    QString family = RenderFont::DefaultFamily;
    qreal pointSize = RenderFont::DefaultPointSize;
    bool bold = false;
    bool edging = true;
    int cell = 0;
};

// Empty when the arguments are good, otherwise why they are not.
QString parse(const QStringList &args, RenderArguments &parsed)
{
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--bold")) {
            parsed.bold = true;
        } else if (arg == QLatin1String("--no-edge")) {
            parsed.edging = false;
        } else if (arg == QLatin1String("--font")) {
            if (!hasValue || args[i + 1].isEmpty())
                return QStringLiteral("--font needs a font name");
            parsed.family = args[++i];
        } else if (arg == QLatin1String("--size")) {
            bool ok = false;
            parsed.pointSize = hasValue ? args[++i].toDouble(&ok) : 0;
            // "nan" and "inf" parse as numbers; a size under one pixel draws no dot.
            if (!ok || !std::isfinite(parsed.pointSize) || parsed.pointSize < MinPointSize
                || parsed.pointSize > 1000)
                return QStringLiteral("--size needs a point size from %1 to 1000").arg(MinPointSize);
        } else if (arg == QLatin1String("--cell")) {
            if (!hasValue || !Cli::parseInt(args[++i], 0, Title::Cells - 1, parsed.cell))
                return QStringLiteral("--cell needs a cell number 0..389");
        } else if (arg.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option \"%1\"").arg(arg);
        } else {
            positional << arg;
        }
    }
    if (positional.size() != 4)
        return QStringLiteral("render needs IN.zvx BLOCK TEXT OUT.zvx");
    parsed.in = positional[0];
    if (!Cli::parseInt(positional[1], 0, Title::Blocks - 1, parsed.block))
        return QStringLiteral("BLOCK must be a number 0..9");
    parsed.text = positional[2];
    parsed.out = positional[3];
    return {};
}

} // namespace

int Cli::render(const QStringList &args)
{
    RenderArguments parsed;
    const QString why = parse(args, parsed);
    if (!why.isEmpty())
        return badArguments(why);

    std::unique_ptr<TitleData> title;
    if (parsed.in == QLatin1String("-")) {
        title = startTitle();
    } else if (!(title = readTitle(parsed.in))) {
        return 1;
    }
    TitleData &data = *title;

    QFont font = RenderFont::defaultFont();
    font.setFamily(parsed.family);
    font.setPointSizeF(parsed.pointSize);
    font.setBold(parsed.bold);

    MakeData::Request request;
    request.text = parsed.text;
    request.font = font;
    request.edging = parsed.edging;
    request.topCode = parsed.block * Title::BlockSize + 1;
    request.page = parsed.block;
    request.selCell = parsed.cell;
    request.workFolder = UserFolders::forProgram(FileSystem::GetAppPath()).work;

    const MakeData::Result result = MakeData::run(data, request);
    if (!result.done()) {
        error(QStringLiteral("orvex: ") + BlockTextGuard::message(result.refused));
        return 1;
    }
    if (!result.bitmapWritten)
        error(QStringLiteral("orvex: note: could not write %1; the title was made all the same")
                  .arg(request.workFolder + MakeData::BitmapName));

    const ZvxWriteResult written = ZvxWriter::writeFile(parsed.out, data);
    if (!written.ok) {
        error(QStringLiteral("orvex: ") + written.message());
        return 1;
    }
    return 0;
}
