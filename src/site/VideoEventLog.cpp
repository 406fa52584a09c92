#include "VideoEventLog.h"

#include "core/UserFolders.h"
#include "link/history/LineLog.h"
#include "link/history/TransferRecord.h"

#include <QJsonDocument>
#include <QJsonObject>

QString VideoEventLog::defaultPath()
{
    return UserFolders::state() + u'/' + FileName;
}

QByteArray VideoEventLog::Event::toJson() const
{
    QJsonObject object;
    object[QStringLiteral("time")] = TransferRecord::timeText(time);
    object[QStringLiteral("unit")] = unit;
    object[QStringLiteral("channel")] = channel;
    object[QStringLiteral("title")] = title;
    object[QStringLiteral("lost")] = lost;
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QString VideoEventLog::append(const Event &event) const
{
    return LineLog(m_path, MaxLines).append(event.toJson());
}
