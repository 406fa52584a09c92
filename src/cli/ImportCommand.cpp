#include "Commands.h"
#include "TitleFile.h"
#include "VerbParser.h"

#include "core/CharacterImport.h"
#include "core/ImageFile.h"

namespace {

// Reads `in`, replaces the characters `layout` names with those of the
// picture and writes `out`; nothing is written when either input fails.
int importCharacters(const QString &in, const QString &picture, const CharacterLayout &layout, const QString &out)
{
    const auto data = Cli::readTitle(in);
    if (!data)
        return 1;
    QImage image;
    QString why = ImageFile::load(picture, image);
    PatternImport patterns;
    if (why.isEmpty()) {
        patterns = CharacterImport::read(image, *data, layout);
        why = patterns.error;
    }
    if (!why.isEmpty()) {
        Cli::error(QStringLiteral("orvex: ") + why);
        return 1;
    }
    CharacterImport::apply(*data, patterns.firstCode, patterns.patterns);
    return Cli::writeTitle(*data, out) ? 0 : 1;
}

} // namespace

int Cli::importSheet(const QStringList &arguments)
{
    VerbParser verb(QStringLiteral("import-sheet"),
                    QStringLiteral("Replace all 256 characters with those of a sheet laid out as sheet draws it."));
    verb.addPositional(QStringLiteral("IN.zvx"), QStringLiteral("The title."));
    verb.addPositional(QStringLiteral("SHEET.png"), QStringLiteral("192 x 288 or a whole multiple."));
    verb.addPositional(QStringLiteral("OUT.zvx"), QStringLiteral("Where to write the title."));
    if (!verb.parse(arguments))
        return verb.exitCode();
    const QStringList args = verb.positional();
    if (args.size() != 3)
        return badArguments(QStringLiteral("import-sheet needs IN.zvx, SHEET.png and OUT.zvx"));
    return importCharacters(args[0], args[1], CharacterLayout::sheet(), args[2]);
}

int Cli::importBlock(const QStringList &arguments)
{
    VerbParser verb(QStringLiteral("import-block"), QStringLiteral("Replace the 25 characters of one block."));
    verb.addPositional(QStringLiteral("IN.zvx"), QStringLiteral("The title."));
    verb.addPositional(QStringLiteral("BLOCK"), QStringLiteral("The block, 0..9."));
    verb.addPositional(QStringLiteral("STRIP.png"), QStringLiteral("300 x 18 or a whole multiple."));
    verb.addPositional(QStringLiteral("OUT.zvx"), QStringLiteral("Where to write the title."));
    if (!verb.parse(arguments))
        return verb.exitCode();
    const QStringList args = verb.positional();
    if (args.size() != 4)
        return badArguments(QStringLiteral("import-block needs IN.zvx, BLOCK, STRIP.png and OUT.zvx"));
    int block = 0;
    if (!parseInt(args[1], 0, Title::Blocks - 1, block))
        return badArguments(QStringLiteral("BLOCK must be a number from 0 to 9, not \"%1\"").arg(args[1]));
    return importCharacters(args[0], args[2], CharacterLayout::block(block), args[3]);
}
