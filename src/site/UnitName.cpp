#include "UnitName.h"

#include <QStringList>

namespace UnitName {

namespace {

bool reservedOnWindows(const QString &name)
{
    // "CON.txt" names the device as well.
    const QString stem = name.section(u'.', 0, 0).trimmed().toUpper();
    static const QStringList plain = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                      QStringLiteral("NUL"), QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
    if (plain.contains(stem))
        return true;
    if (stem.size() == 4 && (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT")))) {
        const QChar digit = stem[3];
        // Windows takes the superscript digits too.
        return (digit >= u'1' && digit <= u'9') || digit == QChar(0xB9) || digit == QChar(0xB2)
               || digit == QChar(0xB3);
    }
    return false;
}

} // namespace

QString problem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("no unit name");
    if (name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QLatin1String("..")))
        return QStringLiteral("\"%1\" holds \"..\"").arg(name);
    for (QChar c : name) {
        if (c == u'/' || c == u'\\')
            return QStringLiteral("\"%1\" holds a folder separator").arg(name);
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QStringLiteral("\"%1\" holds a control character").arg(name);
        if (QStringLiteral("<>:\"|?*").contains(c))
            return QStringLiteral("\"%1\" holds \"%2\", which Windows does not allow in a file name").arg(name, c);
    }
    if (name.endsWith(u'.') || name.endsWith(u' '))
        return QStringLiteral("\"%1\" ends in a dot or a space, which Windows drops").arg(name);
    if (reservedOnWindows(name))
        return QStringLiteral("\"%1\" is a name Windows keeps for a device").arg(name);
    return {};
}

} // namespace UnitName
