#include "Commands.h"
#include "TitleFile.h"

#include "core/CharacterImage.h"

int Cli::page(const QStringList &args)
{
    if (args.size() != 3)
        return badArguments(QStringLiteral("page needs IN.zvx, PAGE and OUT.png"));
    bool isNumber = false;
    const int page = args[1].toInt(&isNumber);
    if (!isNumber || page < 0 || page >= Title::Pages)
        return badArguments(QStringLiteral("PAGE must be a number from 0 to 9, not \"%1\"").arg(args[1]));
    const auto data = readTitle(args[0]);
    if (!data)
        return 1;
    return savePng(CharacterImage::page(*data, page), args[2]) ? 0 : 1;
}
