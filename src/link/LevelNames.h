#pragma once

#include <QStringList>

// Items of the two level selectors, in index order; the device knows the
// levels only by these indexes.
namespace LevelNames {

inline QStringList black()
{
    return {QStringLiteral("0%"), QStringLiteral("10%"), QStringLiteral("20%"), QStringLiteral("30%")};
}

inline QStringList white()
{
    return {QStringLiteral("120%"), QStringLiteral("100%"), QStringLiteral("90%"), QStringLiteral("80%")};
}

} // namespace LevelNames
