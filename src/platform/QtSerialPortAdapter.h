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

    void write(const QByteArray &bytes) override;
    QByteArray readAll() override;

    // What the link reports for an error of QSerialPort; DataReceived for
    // the ones that are not line errors at all.
    static CommEvent eventFor(QSerialPort::SerialPortError error);

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void reportCountedErrors();

    QSerialPort m_port;
    LineSettings m_settings;
    QString m_path;
    QString m_error;
    SerialErrorCounters m_counters;
    bool m_opening = false;
};
