#pragma once

#include "link/FarChannel.h"

#include <QProcess>

// The pipe to a far computer's `orvex serve --stdio`: the user's own ssh
// (or ORVEX_SSH) in a QProcess, its standard input and output the channel,
// its error output kept as its own words for a failure.
class SshChannel : public FarChannel
{
public:
    SshChannel();
    ~SshChannel() override;

    void start(const QString &address) override;
    void write(const QByteArray &bytes) override;
    QByteArray readAll() override { return m_process.readAllStandardOutput(); }
    void close() override;
    bool isRunning() const override { return m_process.state() != QProcess::NotRunning; }
    int exitCode() const override { return m_exitCode; }
    QString diagnostics() const override { return QString::fromLocal8Bit(m_said); }

private:
    void ended(int code);
    void stop();

    QProcess m_process;
    QByteArray m_said;
    int m_exitCode = -1;
    bool m_ended = false;
};
