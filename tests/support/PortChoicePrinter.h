#pragma once

// Readable gtest failure output for a port choice.

#include "netserial/PortChoice.h"

#include <ostream>

inline void PrintTo(const PortChoice &choice, std::ostream *os)
{
    if (choice.isAddress())
        *os << "address " << choice.address().toStdString();
    else
        *os << "option " << choice.option();
}
