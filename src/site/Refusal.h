#pragma once

#include <QString>

// Why something of the site is refused, said twice: in English for the
// orvex tool, whose messages scripts read, and in Japanese for the windows.
struct Refusal
{
    QString english;
    QString japanese;

    bool isEmpty() const { return english.isEmpty(); }
};
