#include "Commands.h"

int Cli::send(const QStringList &)
{
    error(QStringLiteral("orvex: \"send\" is not available yet"));
    return 1;
}
