#pragma once

#include <QString>

// The simulator's end of a pseudo-terminal. The device end (the slave) is
// what a serial program opens; the simulator keeps it open itself too, so
// the line survives the program closing and reopening its port.
class PseudoTerminal
{
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // False with the reason in `error`.
    bool open(QString &error);
    // Makes `path` a symlink to the device, replacing an old symlink there.
    bool link(const QString &path, QString &error);

    int masterFd() const { return m_master; }
    QString devicePath() const { return m_slavePath; }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QString m_link;
};
