#include "UnitStatus.h"

#include "link/LevelNames.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonValue levelName(const QStringList &names, int index)
{
    return index >= 0 && index < names.size() ? QJsonValue(names[index]) : QJsonValue(QJsonValue::Null);
}

QJsonValue number(const std::optional<int> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

} // namespace

QByteArray UnitStatus::toJson() const
{
    QJsonObject object;
    object[QStringLiteral("channel")] = channel >= 0 ? QJsonValue(channel + 1) : QJsonValue(QJsonValue::Null);
    object[QStringLiteral("hpos")] = number(hpos);
    object[QStringLiteral("vpos")] = number(vpos);
    object[QStringLiteral("black")] = levelName(LevelNames::black(), black);
    object[QStringLiteral("white")] = levelName(LevelNames::white(), white);
    QJsonArray lost;
    for (int input = 0; input < int(videoLoss.size()); ++input) {
        if (videoLoss[size_t(input)])
            lost.append(input + 1);
    }
    object[QStringLiteral("video_loss")] = videoLossKnown ? QJsonValue(lost) : QJsonValue(QJsonValue::Null);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}
