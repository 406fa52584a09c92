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

// The name of level `index` of `names` (black() or white()); empty when
// the index is none of them, as for a level not yet known.
inline QString name(const QStringList &names, int index)
{
    return index >= 0 && index < names.size() ? names[index] : QString();
}

} // namespace LevelNames
