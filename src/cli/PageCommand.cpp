#include "Commands.h"
#include "TitleFile.h"

#include "core/CharacterImage.h"

int Cli::page(const QStringList &args)
{
    QStringList positional = args;
    const bool bars = positional.removeAll(QStringLiteral("--bars")) > 0;
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
