#include "MonitorStills.h"

#include <QSettings>

namespace {
QString key(int channel)
{
    return QStringLiteral("monitor/still%1").arg(channel + 1);
}
} // namespace

QString MonitorStills::file(int channel) const
{
    return QSettings().value(key(channel)).toString();
}

void MonitorStills::setFile(int channel, const QString &fileName)
{
    QSettings settings;
    if (fileName.isEmpty())
        settings.remove(key(channel));
    else
        settings.setValue(key(channel), fileName);
}
