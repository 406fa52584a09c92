#include "DeviceStatus.h"

#include "LinkTextView.h"
#include "link/LevelNames.h"

namespace {

QString levelName(const QStringList &names, int index)
{
    return index >= 0 && index < names.size() ? names[index] : QString();
}

QString orElse(const QString &text, const QString &unknown)
{
    return text.isEmpty() ? unknown : text;
}

QString number(const std::optional<int> &value, const QString &unknown)
{
    return value ? QString::number(*value) : unknown;
}

QString numberList(const QList<int> &numbers)
{
    QStringList texts;
    for (int n : numbers)
        texts << QString::number(n);
    return texts.join(QStringLiteral(", "));
}

const QString Unknown = QStringLiteral("unknown");

} // namespace

DeviceStatus DeviceStatus::of(const LinkTextView &view)
{
    DeviceStatus status;
    status.channel = view.channel;
    status.hpos = view.hpos;
    status.vpos = view.vpos;
    status.black = view.black;
    status.white = view.white;
    if (view.videoLossKnown)
        status.videoLoss = view.videoLoss;
    return status;
}

bool DeviceStatus::operator==(const DeviceStatus &other) const
{
    return channel == other.channel && hpos == other.hpos && vpos == other.vpos && black == other.black
           && white == other.white && videoLoss == other.videoLoss;
}

QList<int> DeviceStatus::lostInputs() const
{
    QList<int> inputs;
    for (int i = 0; videoLoss && i < int(videoLoss->size()); ++i) {
        if ((*videoLoss)[i])
            inputs << i + 1;
    }
    return inputs;
}

QString DeviceStatus::json() const
{
    const QString null = QStringLiteral("null");
    const auto text = [&null](const QString &value) {
        return value.isEmpty() ? null : QLatin1Char('"') + value + QLatin1Char('"');
    };
    return QStringLiteral("{\"channel\": %1, \"hpos\": %2, \"vpos\": %3, \"black\": %4, \"white\": %5, "
                          "\"video_loss\": %6}")
        .arg(channel >= 0 ? QString::number(channel + 1) : null, number(hpos, null), number(vpos, null),
             text(levelName(LevelNames::black(), black)), text(levelName(LevelNames::white(), white)),
             videoLoss ? QStringLiteral("[%1]").arg(numberList(lostInputs())) : null);
}

namespace {

struct Labelled
{
    QString label;
    QString value;
};

QList<Labelled> labelled(const DeviceStatus &s)
{
    const QList<int> lost = s.lostInputs();
    return {{QStringLiteral("active channel"), s.channel >= 0 ? QStringLiteral("CH%1").arg(s.channel + 1) : Unknown},
            {QStringLiteral("horizontal position"), number(s.hpos, Unknown)},
            {QStringLiteral("vertical position"), number(s.vpos, Unknown)},
            {QStringLiteral("black level"), orElse(levelName(LevelNames::black(), s.black), Unknown)},
            {QStringLiteral("white level"), orElse(levelName(LevelNames::white(), s.white), Unknown)},
            {QStringLiteral("video loss"), !s.videoLoss     ? Unknown
                                           : lost.isEmpty() ? QStringLiteral("none")
                                                            : numberList(lost)}};
}

} // namespace

QString DeviceStatus::table() const
{
    QString out;
    for (const Labelled &item : labelled(*this))
        out += (item.label + QLatin1Char(':')).leftJustified(21) + item.value + QLatin1Char('\n');
    return out;
}

QString DeviceStatus::line() const
{
    QStringList parts;
    for (const Labelled &item : labelled(*this))
        parts << item.label + QLatin1Char(' ') + item.value;
    return parts.join(QStringLiteral(", "));
}
