#pragma once

#include <QByteArray>
#include <QString>

// A file of one-line records that several writers append to at once: the
// programs of this computer, and several engines within one program. It is
// held to the rules of a title file: only a regular file (or a link to one)
// is read or written, nothing is opened in a way that could wait (a named
// pipe never holds up a program), and reading takes at most `readLimit`
// bytes from the end, so a huge file or a link to an endless device cannot
// exhaust memory.
//
// Each record reaches the file whole in one write() on a descriptor opened
// for appending, under an exclusive lock on the file; trimming the oldest
// lines replaces the file while that lock is held, and a writer that waited
// on a replaced file opens the new one. No record is lost or interleaved.
class LineLog
{
public:
    static constexpr qint64 DefaultReadLimit = qint64(16) << 20;

    LineLog(QString path, int maxLines, qint64 readLimit = DefaultReadLimit)
        : m_path(std::move(path)), m_maxLines(maxLines), m_readLimit(readLimit)
    {
    }
    const QString &path() const { return m_path; }

    // Adds `line` (without its line end) as the newest line, creating the
    // file and its folder when missing, and drops the oldest lines beyond
    // the newest `maxLines`. Empty when it was written, otherwise why not.
    QString append(const QByteArray &line) const;

    struct Contents
    {
        QByteArray lines; // whole lines, oldest first; empty when the file does not exist
        QString error;    // the file exists but is not read, and why
    };
    // The newest lines within the read limit.
    Contents read() const;

    // Why a file of another kind than a regular file is left alone.
    static QString notRegular(const QString &path);

private:
    QString m_path;
    int m_maxLines;
    qint64 m_readLimit;
};
