#include "Commands.h"

int Cli::resave(const QStringList &)
{
    error(QStringLiteral("orvex: \"resave\" is not available yet"));
    return 1;
}
