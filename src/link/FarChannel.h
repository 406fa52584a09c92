#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// A byte pipe to this program's far side on another computer: the standard
// input and output of `orvex serve --stdio` started there by the user's own
// ssh (platform/SshChannel). Tests use an in-process far side.
class FarChannel
{
public:
    enum class Event {
        DataReceived, // readAll() has bytes
        Ended,        // the pipe is gone; exitCode() and diagnostics() say why
    };
    using EventHandler = std::function<void(Event)>;

    virtual ~FarChannel() = default;

    // Starts the far side for `address` (an ssh:// address). Never waits:
    // a start that fails ends the channel with Ended.
    virtual void start(const QString &address) = 0;
    virtual void write(const QByteArray &bytes) = 0;
    virtual QByteArray readAll() = 0;
    // Ends our side: the far side's input ends, and it stops.
    virtual void close() = 0;
    virtual bool isRunning() const = 0;
    // After Ended: the exit code of the ssh program (255 when ssh itself
    // failed, -1 when it did not start or crashed) and everything it said
    // on its error output, in its own words.
    virtual int exitCode() const = 0;
    virtual QString diagnostics() const = 0;

    void setEventHandler(EventHandler handler) { m_handler = std::move(handler); }

protected:
    void notify(Event event)
    {
        if (m_handler)
            m_handler(event);
    }

private:
    EventHandler m_handler;
};
