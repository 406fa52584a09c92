#pragma once

#include <QByteArray>
#include <QIODevice>

// Splits a data file into fields the way the format has always been read:
// a field ends at "," or at the end of a line, leading spaces are skipped,
// a field that starts with a double quote runs to the next double quote
// (the quotes are dropped, anything after the closing quote up to the next
// delimiter is ignored) and an empty line is one empty field. CR LF, LF and
// a lone CR all end a line.
//
// Reads the device in chunks so that a huge or garbage file costs no more
// memory than its longest field.
class ZvxFieldReader
{
public:
    explicit ZvxFieldReader(QIODevice &device) : m_device(device) {}

    // False when the file holds no further field.
    bool next(QByteArray &field);

    // 1-based line on which the last field returned started.
    qint64 line() const { return m_fieldLine; }
    // True when reading stopped because the device failed, not at its end.
    bool failed() const { return m_failed; }

private:
    int peek();
    int get();
    bool fill();
    void consumeLineEnd(int first);

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_eof = false;
    bool m_failed = false;
    qint64 m_line = 1;
    qint64 m_fieldLine = 1;
};
