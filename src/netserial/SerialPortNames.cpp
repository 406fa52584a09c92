#include "SerialPortNames.h"

#include <QtGlobal>

namespace SerialPortNames {

QString deviceForPort(int number)
{
    const QString configured = qEnvironmentVariable(qPrintable(QStringLiteral("ORVEX_COM%1").arg(number)));
    if (!configured.isEmpty())
        return configured;
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QString deviceForArgument(const QString &argument)
{
    bool isNumber = false;
    const int number = argument.toInt(&isNumber);
    if (!isNumber)
        return argument;
    if (number < 1 || number > 8)
        return {};
    return deviceForPort(number);
}

} // namespace SerialPortNames
