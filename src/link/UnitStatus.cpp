#include "UnitStatus.h"

#include "LevelNames.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <utility>

namespace {

QJsonValue orNull(const std::optional<int> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonValue levelValue(const QStringList &names, int index)
{
    const QString name = LevelNames::name(names, index);
    return name.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(name);
}

std::optional<int> numberOf(const QJsonValue &value)
{
    return value.isDouble() ? std::optional<int>(value.toInt()) : std::nullopt;
}

// The keys in the order they are printed.
QList<std::pair<QString, QJsonValue>> fields(const UnitStatus &s)
{
    QJsonArray lost;
    for (int input : s.lostInputs())
        lost.append(input);
    return {{QStringLiteral("channel"), s.channel >= 0 ? QJsonValue(s.channel + 1) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("hpos"), orNull(s.hpos)},
            {QStringLiteral("vpos"), orNull(s.vpos)},
            {QStringLiteral("black"), levelValue(LevelNames::black(), s.black)},
            {QStringLiteral("white"), levelValue(LevelNames::white(), s.white)},
            {QStringLiteral("video_loss"), s.videoLossKnown ? QJsonValue(lost) : QJsonValue(QJsonValue::Null)}};
}

// One value as the line shows it: a space after each comma of an array.
QString valueText(const QJsonValue &value)
{
    if (value.isArray()) {
        QStringList items;
        for (const QJsonValue &item : value.toArray())
            items << valueText(item);
        return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(wrapped.mid(1, wrapped.size() - 2));
}

} // namespace

void UnitStatus::showChannel(int index, bool lit)
{
    if (lit)
        channel = index;
}

void UnitStatus::showVideoLoss(int input, bool lost)
{
    if (input < 0 || input >= int(videoLoss.size()))
        return;
    videoLoss[size_t(input)] = lost;
    videoLossKnown = true;
}

QList<int> UnitStatus::lostInputs() const
{
    QList<int> inputs;
    for (int i = 0; videoLossKnown && i < int(videoLoss.size()); ++i) {
        if (videoLoss[size_t(i)])
            inputs << i + 1;
    }
    return inputs;
}

bool UnitStatus::operator==(const UnitStatus &other) const
{
    return channel == other.channel && hpos == other.hpos && vpos == other.vpos && black == other.black
           && white == other.white && videoLossKnown == other.videoLossKnown
           && (!videoLossKnown || videoLoss == other.videoLoss);
}

QString UnitStatus::json() const
{
    QStringList parts;
    for (const auto &[key, value] : fields(*this))
        parts << QLatin1Char('"') + key + QStringLiteral("\": ") + valueText(value);
    return QLatin1Char('{') + parts.join(QStringLiteral(", ")) + QLatin1Char('}');
}

QJsonObject UnitStatus::jsonObject() const
{
    QJsonObject object;
    for (const auto &[key, value] : fields(*this))
        object[key] = value;
    return object;
}

UnitStatus UnitStatus::fromJson(const QJsonObject &object)
{
    UnitStatus s;
    const std::optional<int> channel = numberOf(object[QStringLiteral("channel")]);
    if (channel && *channel >= 1 && *channel <= 8)
        s.channel = *channel - 1;
    s.hpos = numberOf(object[QStringLiteral("hpos")]);
    s.vpos = numberOf(object[QStringLiteral("vpos")]);
    s.black = int(LevelNames::black().indexOf(object[QStringLiteral("black")].toString()));
    s.white = int(LevelNames::white().indexOf(object[QStringLiteral("white")].toString()));
    const QJsonValue lost = object[QStringLiteral("video_loss")];
    if (lost.isArray()) {
        s.videoLossKnown = true;
        for (const QJsonValue &input : lost.toArray())
            s.showVideoLoss(input.toInt() - 1, true);
    }
    return s;
}
