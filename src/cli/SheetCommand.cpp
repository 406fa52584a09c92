#include "Commands.h"

int Cli::sheet(const QStringList &)
{
    error(QStringLiteral("orvex: \"sheet\" is not available yet"));
    return 1;
}
