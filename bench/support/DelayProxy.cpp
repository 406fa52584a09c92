#include "DelayProxy.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <deque>

namespace {

// One direction of a connection: what was read from `from` and is on its
// way to `to`.
class DelayLine : public QObject
{
public:
    DelayLine(QTcpSocket *from, QTcpSocket *to, int delayMs, QObject *parent)
        : QObject(parent), m_from(from), m_to(to), m_delayNs(qint64(delayMs) * 1000000)
    {
        m_clock.start();
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &DelayLine::release);
        connect(from, &QTcpSocket::readyRead, this, &DelayLine::take);
        connect(from, &QTcpSocket::readChannelFinished, this, &DelayLine::sourceClosed);
        connect(from, &QTcpSocket::disconnected, this, &DelayLine::sourceClosed);
        connect(to, &QTcpSocket::bytesWritten, this, &DelayLine::take);
        connect(to, &QTcpSocket::connected, this, &DelayLine::release);
    }

    bool finished() const { return m_closed && m_queue.empty(); }

private:
    struct Chunk
    {
        qint64 dueNs;
        QByteArray bytes; // empty: the source closed here
    };

    qint64 held() const { return m_held + m_to->bytesToWrite(); }

    void take()
    {
        while (m_from->bytesAvailable() > 0 && held() < DelayProxy::HeldLimit) {
            const QByteArray bytes = m_from->read(DelayProxy::HeldLimit - held());
            if (bytes.isEmpty())
                break;
            m_held += bytes.size();
            m_queue.push_back({m_clock.nsecsElapsed() + m_delayNs, bytes});
        }
        // The close travels behind the last of the bytes.
        if (m_sourceDone && !m_closed && m_from->bytesAvailable() == 0) {
            m_closed = true;
            m_queue.push_back({m_clock.nsecsElapsed() + m_delayNs, {}});
        }
        arm();
    }

    void sourceClosed()
    {
        m_sourceDone = true;
        take();
    }

    void release()
    {
        if (m_to->state() != QAbstractSocket::ConnectedState)
            return; // the upstream connection is still being made
        const qint64 now = m_clock.nsecsElapsed();
        while (!m_queue.empty() && m_queue.front().dueNs <= now) {
            const QByteArray bytes = m_queue.front().bytes;
            m_queue.pop_front();
            if (bytes.isEmpty()) {
                m_to->disconnectFromHost();
                break;
            }
            m_held -= bytes.size();
            m_to->write(bytes);
        }
        take(); // room again
    }

    void arm()
    {
        if (m_queue.empty() || m_timer.isActive())
            return;
        const qint64 waitNs = m_queue.front().dueNs - m_clock.nsecsElapsed();
        m_timer.start(int(std::max<qint64>(0, (waitNs + 999999) / 1000000)));
    }

    QTcpSocket *m_from;
    QTcpSocket *m_to;
    const qint64 m_delayNs;
    QElapsedTimer m_clock;
    QTimer m_timer;
    std::deque<Chunk> m_queue;
    qint64 m_held = 0;
    bool m_sourceDone = false; // the source has closed
    bool m_closed = false;     // and its close is on the way
};

} // namespace

DelayProxy::DelayProxy(const QHostAddress &targetHost, quint16 targetPort, int oneWayMs, Handshake handshake,
                       QObject *parent)
    : QObject(parent), m_targetHost(targetHost), m_targetPort(targetPort), m_oneWayMs(oneWayMs),
      m_handshake(handshake)
{
    connect(&m_server, &QTcpServer::newConnection, this, &DelayProxy::accept);
}

bool DelayProxy::listen(quint16 port)
{
    return m_server.listen(QHostAddress::LocalHost, port);
}

void DelayProxy::accept()
{
    while (QTcpSocket *client = m_server.nextPendingConnection()) {
        // One object per connection; it goes when both sides have closed.
        auto *link = new QObject(this);
        client->setParent(link);
        auto *upstream = new QTcpSocket(link);
        for (QTcpSocket *socket : {client, upstream}) {
            // Qt would otherwise read everything the kernel has.
            socket->setReadBufferSize(HeldLimit);
        }
        auto *up = new DelayLine(client, upstream, m_oneWayMs, link);
        auto *down = new DelayLine(upstream, client, m_oneWayMs, link);
        const auto endIfDone = [link, up, down, client, upstream] {
            if ((up->finished() && down->finished())
                || (client->state() == QAbstractSocket::UnconnectedState
                    && upstream->state() == QAbstractSocket::UnconnectedState))
                link->deleteLater();
        };
        // A far end that cannot be reached closes the client's connection.
        connect(upstream, &QTcpSocket::errorOccurred, link, [upstream, client] {
            if (upstream->state() != QAbstractSocket::ConnectedState)
                client->disconnectFromHost();
        });
        for (QTcpSocket *socket : {client, upstream})
            connect(socket, &QTcpSocket::disconnected, link, endIfDone);
        // What the client sends meanwhile waits in its delay line.
        const int onwardAfter = m_handshake == Handshake::Nearby ? m_oneWayMs : 0;
        QTimer::singleShot(onwardAfter, Qt::PreciseTimer, upstream,
                           [this, upstream] { upstream->connectToHost(m_targetHost, m_targetPort); });
    }
}
