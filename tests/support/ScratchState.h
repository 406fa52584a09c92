#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

// A transfer log of the test's own: the state folder, which the programs it
// starts inherit, points into a scratch folder for as long as this lives.
class ScratchState
{
public:
    ScratchState() : m_saved(qgetenv("XDG_STATE_HOME")) { qputenv("XDG_STATE_HOME", QFile::encodeName(m_dir.path())); }
    ~ScratchState() { qputenv("XDG_STATE_HOME", m_saved); }
    QString log() const { return m_dir.filePath(QStringLiteral("orvex/transfers.log")); }

private:
    QTemporaryDir m_dir;
    QByteArray m_saved;
};
