#pragma once

#include "link/SerialPort.h"
#include "netserial/RoundTripEstimator.h"

#include <QByteArrayList>
#include <QList>

#include <functional>
#include <memory>

// A port that records what the engine writes and hands it scripted bytes.
// As a network port (`network`) it keeps its connection and connects in
// the background: startOpen() is pending until finishOpen().
class FakeSerialPort : public SerialPort
{
public:
    // Expires with the port, so what was scheduled for it can tell it is gone
    // (a window's port dies with the window while the clock runs on).
    const std::shared_ptr<char> lifetime = std::make_shared<char>();

    void configure(const LineSettings &s) override { settings = s; }
    void setPortNumber(int number) override
    {
        portNumber = number;
        m_path = QStringLiteral("/dev/ttyS%1").arg(number - 1);
    }
    void setDevicePath(const QString &path) override { m_path = path; }
    QString devicePath() const override { return m_path; }

    bool open() override
    {
        ++opens;
        // A port may run events while it opens.
        if (onOpen)
            onOpen();
        if (gone) {
            failure = OpenFailure::Missing;
            return false;
        }
        if (failOpens > 0) {
            --failOpens;
            failure = failReason;
            return false;
        }
        failure = OpenFailure::None;
        m_open = true;
        return true;
    }
    OpenProgress startOpen() override
    {
        if (!network)
            return SerialPort::startOpen();
        ++opens;
        connecting = true;
        if (onConnect)
            onConnect();
        return OpenProgress::Pending;
    }
    // Ends a pending open: connected, or failed for `why` in `words`.
    void finishOpen(bool ok, OpenFailure why = OpenFailure::Refused, const QString &words = {})
    {
        if (!connecting)
            return;
        connecting = false;
        failure = ok ? OpenFailure::None : why;
        failWords = words;
        m_open = ok;
        notify(ok ? CommEvent::Opened : CommEvent::OpenFailed);
    }
    void close() override
    {
        if (m_open || connecting)
            ++closes;
        m_open = false;
        connecting = false;
        m_input.clear();
    }
    bool isOpen() const override { return m_open; }
    QString errorString() const override
    {
        if (failure == OpenFailure::None)
            return {};
        return failWords.isEmpty() ? QStringLiteral("No such file or directory") : failWords;
    }
    bool keepsConnection() const override { return network; }
    int replyTimeout() const override { return replyTimeoutMs > 0 ? replyTimeoutMs : estimate.replyTimeout(); }
    int guardTime() const override { return guardMs > 0 ? guardMs : estimate.guardTime(); }
    int roundTrip() const override
    {
        return roundTripMs > 0 ? roundTripMs : estimate.hasSample() ? estimate.smoothed() : -1;
    }
    void addRoundTripSample(int ms) override
    {
        samples.append(ms);
        estimate.addSample(ms);
    }
    OpenFailure openFailure() const override { return failure; }
    QString unknownCertificate() const override { return failure == OpenFailure::Tls ? refusedCertificate : QString(); }
    void discardInput() override
    {
        ++discards;
        m_input.clear();
    }

    void write(const QByteArray &bytes) override
    {
        written.append(bytes);
        if (onWrite)
            onWrite(bytes);
    }
    QByteArray readAll() override
    {
        const QByteArray bytes = m_input;
        m_input.clear();
        return bytes;
    }

    // Bytes arriving from the device; only an open port hears them.
    void receive(const QByteArray &bytes)
    {
        if (!m_open)
            return;
        m_input += bytes;
        notify(CommEvent::DataReceived);
    }
    // Bytes that reached the input buffer unnoticed (a late reply waiting
    // in the driver when the port is opened again).
    void arriveUnread(const QByteArray &bytes) { m_input += bytes; }
    void raise(CommEvent event) { notify(event); }
    // The device end goes away (an adapter pulled, a pseudo-terminal's
    // master closed): like the real adapter, the port closes without a
    // word, and the device cannot be opened again.
    void vanish()
    {
        m_open = false;
        m_input.clear();
        gone = true;
    }

    LineSettings settings;
    int portNumber = 0;
    int opens = 0;
    int closes = 0;
    int failOpens = 0; // the next n opens fail
    OpenFailure failReason = OpenFailure::Missing;
    OpenFailure failure = OpenFailure::None;
    bool gone = false;
    QString failWords;
    QString refusedCertificate; // shown with a Tls failure
    int discards = 0;
    bool network = false;
    bool connecting = false;
    // A network port's timing is its estimate's unless fixed here (> 0).
    int replyTimeoutMs = 0;
    int guardMs = 0;
    int roundTripMs = 0;
    RoundTripEstimator estimate;
    QList<int> samples; // round trips the engine measured
    std::function<void()> onConnect;
    QByteArrayList written;
    std::function<void(const QByteArray &)> onWrite;
    std::function<void()> onOpen;

private:
    QString m_path;
    QByteArray m_input;
    bool m_open = false;
};
