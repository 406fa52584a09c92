#pragma once

#include "core/TitleData.h"

#include <QString>

#include <array>

// The stored title of a TitleData (not its shared settings), kept to be
// compared as a whole before and after an edit.
struct StoredTitle
{
    std::array<CharPattern, Title::CodeCount> dots;
    DispPages pages;
    std::array<QString, Title::Blocks> texts;

    explicit StoredTitle(const TitleData &data) : dots(data.DotData), pages(data.DispData), texts(data.ChText) {}
    bool operator==(const StoredTitle &) const = default;
};
