#pragma once

#include "SerialErrorCounters.h"
#include "link/SerialPort.h"

#include <QObject>
#include <QSerialPort>

// The device link's serial port on QSerialPort.
class QtSerialPortAdapter : public QObject, public SerialPort
{
    Q_OBJECT
public:
    explicit QtSerialPortAdapter(QObject *parent = nullptr);
    ~QtSerialPortAdapter() override;

    void configure(const LineSettings &settings) override;
    void setPortNumber(int number) override;
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

    // What the link reports for an error of QSerialPort; DataReceived for
    // the ones that are not line errors at all.
    static CommEvent eventFor(QSerialPort::SerialPortError error);
    // Errors after which the line is gone: the port closes, nothing is
    // reported as a line error.
    static bool meansLineGone(QSerialPort::SerialPortError error);
    // Why an open failed, from Qt's error, whether the device file exists
    // and whether this user may read and write it.
    static OpenFailure failureFor(QSerialPort::SerialPortError error, bool exists, bool accessible);

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void reportCountedErrors();
    static OpenFailure failureFor(QSerialPort::SerialPortError error, const QString &path);

    QSerialPort m_port;
    LineSettings m_settings;
    QString m_path;
    QString m_error;
    OpenFailure m_failure = OpenFailure::None;
    SerialErrorCounters m_counters;
    bool m_opening = false;
};
