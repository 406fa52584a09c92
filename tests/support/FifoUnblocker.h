#pragma once

#include <QFile>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

// Keeps a test of "a named pipe is never opened" from hanging when the code
// under test does open it: if the test has not finished within the grace
// period, a writer opens the pipe and closes it again, which lets a reader
// blocked in open() or read() go on (and the test then fail on its checks).
// A test that passes never needs it; the destructor stops it.
class FifoUnblocker
{
public:
    explicit FifoUnblocker(const QString &fifo, std::chrono::seconds grace = std::chrono::seconds(10))
        : m_path(QFile::encodeName(fifo)), m_thread([this, grace] { run(grace); })
    {
    }
    ~FifoUnblocker()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

private:
    void run(std::chrono::seconds grace)
    {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, grace, [this] { return m_done; }))
            return;
        // Keep offering a writer until the reader is released or the test ends.
        while (!m_done) {
            const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
            m_wake.wait_for(lock, std::chrono::milliseconds(50), [this] { return m_done; });
        }
    }

    QByteArray m_path;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::thread m_thread;
};
