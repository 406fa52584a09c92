#include "PortChoice.h"

#include "SerialPortNames.h"

PortChoice PortChoice::ofOption(int number)
{
    PortChoice choice;
    if (number >= 1 && number <= 8)
        choice.m_option = number;
    return choice;
}

PortChoice PortChoice::ofAddress(const QString &address)
{
    PortChoice choice;
    choice.m_address = address.trimmed();
    return choice;
}

QString PortChoice::device() const
{
    return isOption() ? SerialPortNames::deviceForPort(m_option) : m_address;
}
