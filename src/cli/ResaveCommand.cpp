#include "Commands.h"
#include "TitleFile.h"
#include "VerbParser.h"

int Cli::resave(const QStringList &arguments)
{
    VerbParser verb(QStringLiteral("resave"), QStringLiteral("Read a title and write it again."));
    verb.addPositional(QStringLiteral("IN.zvx"), QStringLiteral("The title to read."));
    verb.addPositional(QStringLiteral("OUT.zvx"), QStringLiteral("Where to write it."));
    if (!verb.parse(arguments))
        return verb.exitCode();
    const QStringList args = verb.positional();
    if (args.size() != 2)
        return badArguments(QStringLiteral("resave needs IN.zvx and OUT.zvx"));
    const auto data = readTitle(args[0]);
    if (!data)
        return 1;
    return writeTitle(*data, args[1]) ? 0 : 1;
}
