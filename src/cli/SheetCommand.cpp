#include "Commands.h"
#include "TitleFile.h"

#include "core/CharacterImage.h"

int Cli::sheet(const QStringList &args)
{
    if (args.size() != 2)
        return badArguments(QStringLiteral("sheet needs IN.zvx and OUT.png"));
    const auto data = readTitle(args[0]);
    if (!data)
        return 1;
    return savePng(CharacterImage::sheet(*data), args[1]) ? 0 : 1;
}
