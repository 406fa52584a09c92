#include "Commands.h"
#include "TitleFile.h"
#include "VerbParser.h"

#include "core/CharacterImage.h"

int Cli::page(const QStringList &args)
{
    VerbParser verb(QStringLiteral("page"), QStringLiteral("Draw one screen page."));
    verb.addPositional(QStringLiteral("IN.zvx"), QStringLiteral("The title."));
    verb.addPositional(QStringLiteral("PAGE"), QStringLiteral("The page, 0..9."));
    verb.addPositional(QStringLiteral("OUT.png"), QStringLiteral("The picture to write."));
    verb.addFlag(QStringLiteral("bars"), QStringLiteral("Over colour bars instead of grey."));
    if (!verb.parse(args))
        return verb.exitCode();
    const QStringList positional = verb.positional();
    const bool bars = verb.isSet(QStringLiteral("bars"));
    if (positional.size() != 3)
        return badArguments(QStringLiteral("page needs IN.zvx, PAGE and OUT.png, and takes only --bars"));
    int page = 0;
    if (!parseInt(positional[1], 0, Title::Pages - 1, page))
        return badArguments(QStringLiteral("PAGE must be a number from 0 to 9, not \"%1\"").arg(positional[1]));
    const auto data = readTitle(positional[0]);
    if (!data)
        return 1;
    const auto background = bars ? CharacterImage::Background::ColourBars : CharacterImage::Background::Grey;
    return savePng(CharacterImage::page(*data, page, background), positional[2]) ? 0 : 1;
}
