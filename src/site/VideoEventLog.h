#pragma once

#include <QDateTime>
#include <QString>

// Each time a camera's video is lost or comes back, one JSON line in
// "video-events.log" beside the transfer log: the time, the unit, the
// channel, the camera's title and whether the video is lost. Several units
// append to it at once without a line lost or mixed into another.
class VideoEventLog
{
public:
    static inline const QString FileName = QStringLiteral("video-events.log");
    // The oldest events beyond these go, as the transfer log's do.
    static constexpr int MaxLines = 100000;

    // The log in UserFolders::state().
    static QString defaultPath();

    explicit VideoEventLog(const QString &path = defaultPath()) : m_path(path) {}
    const QString &path() const { return m_path; }

    struct Event
    {
        QDateTime time;
        QString unit;
        int channel = 0; // 1..8
        QString title;
        bool lost = false;

        QByteArray toJson() const;
    };

    // Empty when it was written, otherwise why not.
    QString append(const Event &event) const;

private:
    QString m_path;
};
