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

Refusal problem(const QString &name)
{
    const auto refuse = [&name](const QString &english, const QString &japanese) {
        return Refusal{QStringLiteral("\"%1\" ").arg(name) + english, QStringLiteral("「%1」").arg(name) + japanese};
    };
    if (name.isEmpty())
        return {QStringLiteral("no unit name"), QStringLiteral("装置の名前がありません")};
    if (name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QLatin1String("..")))
        return refuse(QStringLiteral("holds \"..\""), QStringLiteral("に「..」が含まれています"));
    for (QChar c : name) {
        if (c == u'/' || c == u'\\')
            return refuse(QStringLiteral("holds a folder separator"), QStringLiteral("にフォルダの区切りが含まれています"));
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return refuse(QStringLiteral("holds a control character"), QStringLiteral("に制御文字が含まれています"));
        if (QStringLiteral("<>:\"|?*").contains(c))
            return refuse(QStringLiteral("holds \"%1\", which Windows does not allow in a file name").arg(c),
                          QStringLiteral("に Windows のファイル名に使えない「%1」が含まれています").arg(c));
    }
    if (name.endsWith(u'.') || name.endsWith(u' '))
        return refuse(QStringLiteral("ends in a dot or a space, which Windows drops"),
                      QStringLiteral("の末尾が点か空白です（Windows では消えます）"));
    if (reservedOnWindows(name))
        return refuse(QStringLiteral("is a name Windows keeps for a device"),
                      QStringLiteral("は Windows が装置に使う名前です"));
    const qsizetype bytes = (name + QStringLiteral(".zvx")).toUtf8().size();
    if (bytes > MaxFileNameBytes)
        return refuse(QStringLiteral("is too long: with \".zvx\" it is %1 bytes, a file name at most %2")
                          .arg(bytes)
                          .arg(MaxFileNameBytes),
                      QStringLiteral("は長すぎます（「.zvx」を付けて %1 バイト、ファイル名は %2 バイトまで）")
                          .arg(bytes)
                          .arg(MaxFileNameBytes));
    return {};
}

} // namespace UnitName
