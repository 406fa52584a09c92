#pragma once

#include "core/TitleData.h"

#include <QString>

// Which still picture each channel's monitor shows under its characters
// instead of the colour bars, kept in the application's settings so that
// the choice outlives the program. An empty name means the bars.
class MonitorStills
{
public:
    QString file(int channel) const;
    void setFile(int channel, const QString &fileName);
};
