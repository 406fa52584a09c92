#include "Commands.h"

int Cli::page(const QStringList &)
{
    error(QStringLiteral("orvex: \"page\" is not available yet"));
    return 1;
}
