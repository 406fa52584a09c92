#include "Commands.h"
#include "TitleFile.h"

int Cli::resave(const QStringList &args)
{
    if (args.size() != 2)
        return badArguments(QStringLiteral("resave needs IN.zvx and OUT.zvx"));
    const auto data = readTitle(args[0]);
    if (!data)
        return 1;
    return writeTitle(*data, args[1]) ? 0 : 1;
}
