#include "Commands.h"
#include "TitleFile.h"

#include "core/ZvxWriter.h"

int Cli::resave(const QStringList &args)
{
    if (args.size() != 2)
        return badArguments(QStringLiteral("resave needs IN.zvx and OUT.zvx"));
    const auto data = readTitle(args[0]);
    if (!data)
        return 1;
    const ZvxWriteResult written = ZvxWriter::writeFile(args[1], *data);
    if (!written.ok) {
        error(written.message());
        return 1;
    }
    return 0;
}
