#pragma once

#include "netserial/PortAddress.h"
#include "netserial/Rfc2217Session.h"
#include "link/SerialPort.h"

#include <QObject>
#include <QTcpSocket>

#include <optional>

// A serial line behind a network serial server (ser2net, an RS-232 to
// Ethernet box), reached by raw TCP or by telnet with RFC 2217. To the
// engine it is a cable: open() connects (and over RFC 2217 sets the far
// port to our line settings) or fails with the reason; a connection that
// drops later closes the port quietly, so the next open() says why.
class NetworkSerialPort : public QObject, public SerialPort
{
    Q_OBJECT
public:
    // Longest an open() waits for the server; the window stays responsive
    // meanwhile.
    static constexpr int DefaultConnectTimeoutMs = 3000;

    explicit NetworkSerialPort(QObject *parent = nullptr);
    ~NetworkSerialPort() override;

    void configure(const LineSettings &settings) override;
    void setPortNumber(int number) override;
    // A tcp:// or rfc2217:// address.
    void setDevicePath(const QString &path) override;
    QString devicePath() const override;

    bool open() override;
    void close() override;
    bool isOpen() const override;
    QString errorString() const override;
    OpenFailure openFailure() const override;

    void write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    void discardInput() override;

    void setConnectTimeout(int milliseconds) { m_connectTimeoutMs = milliseconds; }

    // What an open failure of the socket is to the operator, with the
    // reason in words.
    static OpenFailure failureFor(QAbstractSocket::SocketError error);
    static QString reasonFor(QAbstractSocket::SocketError error, const QString &qtText);

private:
    void onReadyRead();
    void onLineGone();
    bool failOpen(OpenFailure failure, const QString &reason);

    QTcpSocket m_socket;
    LineSettings m_settings;
    QString m_text;
    PortAddress m_address;
    std::optional<Rfc2217Session> m_telnet;
    QByteArray m_input;
    QString m_error;
    OpenFailure m_failure = OpenFailure::None;
    int m_connectTimeoutMs = DefaultConnectTimeoutMs;
    bool m_open = false;
    bool m_opening = false;
    bool m_cancelled = false;
};
