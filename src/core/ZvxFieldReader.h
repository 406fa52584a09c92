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
// Reads the device in chunks, and gives up on a field that runs longer than
// any field the format can hold, so that no input (a huge garbage file, a
// device that never ends) costs more than a fixed amount of memory.
class ZvxFieldReader
{
public:
    // Bytes one field may span, counting skipped leading spaces, its quotes
    // and anything dropped after the closing quote. The longest legal field,
    // a block text, stays well inside it.
    static constexpr qsizetype MaxFieldBytes = 64 * 1024;

    explicit ZvxFieldReader(QIODevice &device) : m_device(device) {}

    // False when the file holds no further field, or when the field starting
    // here is longer than MaxFieldBytes (see tooLong()).
    bool next(QByteArray &field);

    // 1-based line on which the last field returned started.
    qint64 line() const { return m_fieldLine; }
    // True when reading stopped because the device failed, not at its end.
    bool failed() const { return m_failed; }
    // True when reading stopped at a field longer than MaxFieldBytes; line()
    // names where it starts.
    bool tooLong() const { return m_tooLong; }

private:
    int peek();
    int get();
    // get() for the bytes of one field, counted against MaxFieldBytes.
    int take();
    bool fill();
    void consumeLineEnd(int first);

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_eof = false;
    bool m_failed = false;
    bool m_tooLong = false;
    qsizetype m_fieldBytes = 0;
    qint64 m_line = 1;
    qint64 m_fieldLine = 1;
};
