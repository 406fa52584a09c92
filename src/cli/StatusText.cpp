#include "StatusText.h"

#include "link/LevelNames.h"

#include <QList>
#include <QStringList>

namespace {

const QString Unknown = QStringLiteral("unknown");

QString orUnknown(const QString &text)
{
    return text.isEmpty() ? Unknown : text;
}

QString number(const std::optional<int> &value)
{
    return value ? QString::number(*value) : Unknown;
}

QString numberList(const QList<int> &numbers)
{
    QStringList texts;
    for (int n : numbers)
        texts << QString::number(n);
    return texts.join(QStringLiteral(", "));
}

struct Labelled
{
    QString label;
    QString value;
};

QList<Labelled> labelled(const UnitStatus &s)
{
    const QList<int> lost = s.lostInputs();
    return {{QStringLiteral("active channel"), s.channel >= 0 ? QStringLiteral("CH%1").arg(s.channel + 1) : Unknown},
            {QStringLiteral("horizontal position"), number(s.hpos)},
            {QStringLiteral("vertical position"), number(s.vpos)},
            {QStringLiteral("black level"), orUnknown(LevelNames::name(LevelNames::black(), s.black))},
            {QStringLiteral("white level"), orUnknown(LevelNames::name(LevelNames::white(), s.white))},
            {QStringLiteral("video loss"), !s.videoLossKnown ? Unknown
                                           : lost.isEmpty()  ? QStringLiteral("none")
                                                             : numberList(lost)}};
}

} // namespace

QString StatusText::table(const UnitStatus &status)
{
    QString out;
    for (const Labelled &item : labelled(status))
        out += (item.label + QLatin1Char(':')).leftJustified(21) + item.value + QLatin1Char('\n');
    return out;
}

QString StatusText::line(const UnitStatus &status)
{
    QStringList parts;
    for (const Labelled &item : labelled(status))
        parts << item.label + QLatin1Char(' ') + item.value;
    return parts.join(QStringLiteral(", "));
}
