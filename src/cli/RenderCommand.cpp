#include "Commands.h"

int Cli::render(const QStringList &)
{
    error(QStringLiteral("orvex: \"render\" is not available yet"));
    return 1;
}
