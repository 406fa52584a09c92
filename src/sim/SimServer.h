#pragma once

#include "SimDevice.h"
#include "SimFrameParser.h"
#include "SimOptions.h"

#include <QElapsedTimer>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>

#include <deque>

class QSocketNotifier;

// Serves the host on the pty master: reads frames, lets the device answer,
// and writes the replies when the line (and the chosen faults) allow.
class SimServer : public QObject
{
    Q_OBJECT
public:
    SimServer(int masterFd, const SimOptions &options, QObject *parent = nullptr);

    // Writes the JSON state if a state file was asked for.
    void writeState() const;
    // The video on input 1 goes, or comes back: a change a status poll
    // should notice.
    void toggleFirstInputVideo();

private:
    struct Pending
    {
        qint64 dueNs;
        QByteArray bytes;
    };

    void onReadable();
    void onFrame(const QByteArray &frame);
    // The device ignores a frame it does not accept; the log says which.
    void logRefusal(const QByteArray &frame, const QString &why) const;
    void schedule(const QByteArray &frame, QByteArray reply);
    void flushDue();
    void arm();
    qint64 lineNs(qsizetype bytes) const;
    void writeOut(const QByteArray &bytes);
    void writeSnapshot() const;
    // The speed the device end of the pseudo-terminal is set to; 0 when
    // it is none of the usual ones.
    int lineBaud() const;

    int m_fd;
    SimOptions m_options;
    SimDevice m_device;
    SimFrameParser m_parser;
    QSocketNotifier *m_notifier;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lineFreeNs = 0;
    int m_replies = 0;
    int m_frameBaud = 0; // line speed when the last frame arrived
    std::deque<Pending> m_pending;
    QRandomGenerator m_random{20261207};
};
