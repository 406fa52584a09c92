#include "SimServer.h"

#include "SimSnapshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <QSocketNotifier>

#include <QJsonObject>

#include <cerrno>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr qint64 Ms = 1000000;
// Replies this close to their time go out now rather than after another
// timer round.
constexpr qint64 Slack = Ms / 4;
} // namespace

SimServer::SimServer(int masterFd, const SimOptions &options, QObject *parent)
    : QObject(parent), m_fd(masterFd), m_options(options),
      m_notifier(new QSocketNotifier(masterFd, QSocketNotifier::Read, this))
{
    m_device.setVideoLoss(options.videoLoss);
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SimServer::flushDue);
    connect(m_notifier, &QSocketNotifier::activated, this, &SimServer::onReadable);
}

void SimServer::toggleFirstInputVideo()
{
    m_options.videoLoss ^= 1;
    m_device.setVideoLoss(m_options.videoLoss);
}

void SimServer::onReadable()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) {
            for (const SimFrameParser::Frame &frame : m_parser.feed(QByteArray(buffer, n))) {
                if (frame.refusal.isEmpty())
                    onFrame(frame.bytes);
                else
                    logRefusal(frame.bytes, frame.refusal);
            }
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: all read
    }
}

void SimServer::onFrame(const QByteArray &frame)
{
    // Taken per frame: a serial server in front of us may put the line
    // back to its own setting once the host has gone.
    m_frameBaud = lineBaud();
    // The unit goes dark mid-write: no answer, and the line closes as the
    // program ends.
    if (m_options.switchOffAfter > 0 && m_replies >= m_options.switchOffAfter) {
        QCoreApplication::exit(0);
        return;
    }
    const SimDevice::Answer answer = m_device.handle(frame);
    if (!answer.refusal.isEmpty()) {
        logRefusal(frame, answer.refusal);
        return;
    }
    if (answer.finished) {
        writeSnapshot();
        writeState();
    }
    schedule(frame, answer.reply);
}

void SimServer::logRefusal(const QByteArray &frame, const QString &why) const
{
    // Headers and commands are ASCII; the raw blocks are not worth printing.
    const QByteArray shown = frame.left(frame.startsWith("@W") ? 8 : 24).toPercentEncoding("+-?,@");
    std::fprintf(stderr, "orvex-sim: ignored frame \"%s\" (%d bytes): %s\n", shown.constData(),
                 int(frame.size() + 1), qPrintable(why));
}

qint64 SimServer::lineNs(qsizetype bytes) const
{
    return m_options.lineRate > 0 ? bytes * 10 * 1000000000LL / m_options.lineRate : 0;
}

void SimServer::schedule(const QByteArray &frame, QByteArray reply)
{
    ++m_replies;
    if (m_options.silent || (m_options.dropEvery > 0 && m_replies % m_options.dropEvery == 0))
        return;
    if (m_options.garbage) {
        for (char &c : reply)
            c = char(m_random.bounded(256));
    }

    // The frame came over the line and the reply goes back over it.
    const qint64 now = m_clock.nsecsElapsed();
    qint64 due = std::max(now, m_lineFreeNs) + lineNs(frame.size() + 1) + lineNs(reply.size());
    m_lineFreeNs = due;
    due += m_options.delayMs * Ms;

    if (m_options.split) {
        const qint64 gap = std::max(lineNs(1), Ms);
        for (qsizetype i = 0; i < reply.size(); ++i)
            m_pending.push_back({due + i * gap, reply.mid(i, 1)});
    } else {
        m_pending.push_back({due, reply});
    }
    flushDue();
}

void SimServer::flushDue()
{
    const qint64 now = m_clock.nsecsElapsed();
    QByteArray out;
    while (!m_pending.empty() && m_pending.front().dueNs <= now + Slack && (out.isEmpty() || !m_options.split)) {
        out += m_pending.front().bytes;
        m_pending.pop_front();
    }
    if (!out.isEmpty())
        writeOut(out);
    arm();
}

void SimServer::arm()
{
    if (m_pending.empty() || m_timer.isActive())
        return;
    const qint64 wait = m_pending.front().dueNs - m_clock.nsecsElapsed();
    m_timer.start(int(std::max<qint64>(0, (wait - Slack) / Ms)));
}

void SimServer::writeOut(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR && errno != EAGAIN)
            return; // nobody listening
    }
}

int SimServer::lineBaud() const
{
    // The master reports the terminal settings of the device end.
    termios mode{};
    if (::tcgetattr(m_fd, &mode) != 0)
        return 0;
    switch (::cfgetospeed(&mode)) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    default: return 0;
    }
}

void SimServer::writeSnapshot() const
{
    if (m_options.snapshotDir.isEmpty())
        return;
    QDir().mkpath(m_options.snapshotDir);
    const int ch = m_device.selected();
    const QString file = QDir(m_options.snapshotDir).filePath(QStringLiteral("ch%1.png").arg(ch + 1));
    SimSnapshot::save(m_device.channel(ch), m_options.videoLoss & (1 << ch), file);
}

void SimServer::writeState() const
{
    if (m_options.stateFile.isEmpty())
        return;
    QSaveFile file(m_options.stateFile);
    if (!file.open(QIODevice::WriteOnly))
        return;
    QJsonObject state = m_device.toJson();
    // What the host (or a serial server in front of us) had set the line to.
    state.insert(QStringLiteral("line_baud"), m_frameBaud);
    file.write(QJsonDocument(state).toJson(QJsonDocument::Compact));
    file.write("\n");
    file.commit();
}
