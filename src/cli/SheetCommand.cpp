#include "Commands.h"
#include "TitleFile.h"
#include "VerbParser.h"

#include "core/CharacterImage.h"

int Cli::sheet(const QStringList &arguments)
{
    VerbParser verb(QStringLiteral("sheet"), QStringLiteral("Draw all 256 characters, 16 per row."));
    verb.addPositional(QStringLiteral("IN.zvx"), QStringLiteral("The title."));
    verb.addPositional(QStringLiteral("OUT.png"), QStringLiteral("The picture to write."));
    if (!verb.parse(arguments))
        return verb.exitCode();
    const QStringList args = verb.positional();
    if (args.size() != 2)
        return badArguments(QStringLiteral("sheet needs IN.zvx and OUT.png"));
    const auto data = readTitle(args[0]);
    if (!data)
        return 1;
    return savePng(CharacterImage::sheet(*data), args[1]) ? 0 : 1;
}
