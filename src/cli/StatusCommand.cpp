#include "Commands.h"

int Cli::status(const QStringList &)
{
    error(QStringLiteral("orvex: \"status\" is not available yet"));
    return 1;
}
