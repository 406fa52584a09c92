#pragma once

#include "link/SerialPort.h"

#include <QByteArrayList>

#include <functional>
#include <memory>

class VirtualClock;

// A serial port on a VirtualClock. Every write is one frame; the device
// function answers it, and the answer arrives a few virtual milliseconds
// later as one data-received event.
class FakeSerialPort : public SerialPort
{
public:
    using Device = std::function<QByteArray(const QByteArray &frame)>;
    static constexpr int ReplyDelay = 5;

    FakeSerialPort(VirtualClock &clock, Device device, bool openFails);
    ~FakeSerialPort() override;

    void configure(const LineSettings &) override {}
    void setPortNumber(int number) override { m_portNumber = number; }
    void setDevicePath(const QString &path) override { m_path = path; }
    QString devicePath() const override;

    bool open() override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    QString errorString() const override { return QStringLiteral("no such port"); }

    void write(const QByteArray &bytes) override;
    QByteArray readAll() override;

    int portNumber() const { return m_portNumber; }
    int openCount() const { return m_openCount; }
    // Every frame written since the port was made, or since clearFrames().
    const QByteArrayList &frames() const { return m_frames; }
    void clearFrames() { m_frames.clear(); }

private:
    VirtualClock &m_clock;
    Device m_device;
    bool m_openFails;
    int m_portNumber = 0;
    QString m_path;
    bool m_open = false;
    int m_openCount = 0;
    QByteArray m_input;
    QByteArrayList m_frames;
    // Replies still in flight must not reach a port that is gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
