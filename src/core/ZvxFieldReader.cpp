#include "ZvxFieldReader.h"

namespace {
constexpr qint64 ChunkSize = 64 * 1024;
}

bool ZvxFieldReader::fill()
{
    if (m_eof)
        return false;
    m_buffer = m_device.read(ChunkSize);
    m_pos = 0;
    if (m_buffer.isEmpty()) {
        m_eof = true;
        // read() gives an empty array at the end and on errors alike; a
        // device that still claims data but returns none has failed.
        if (!m_device.atEnd() && !m_device.isSequential())
            m_failed = true;
        return false;
    }
    return true;
}

int ZvxFieldReader::peek()
{
    if (m_pos >= m_buffer.size() && !fill())
        return -1;
    return static_cast<unsigned char>(m_buffer[m_pos]);
}

int ZvxFieldReader::get()
{
    const int ch = peek();
    if (ch >= 0)
        ++m_pos;
    return ch;
}

void ZvxFieldReader::consumeLineEnd(int first)
{
    ++m_line;
    if (first == '\r' && peek() == '\n')
        get();
}

bool ZvxFieldReader::next(QByteArray &field)
{
    field.clear();
    while (peek() == ' ')
        get();
    m_fieldLine = m_line;
    int ch = peek();
    if (ch < 0)
        return false;

    if (ch == '"') {
        get();
        while ((ch = get()) >= 0 && ch != '"') {
            if (ch == '\n' || (ch == '\r' && peek() != '\n'))
                ++m_line;
            field.append(char(ch));
        }
        // Whatever follows the closing quote up to the delimiter is dropped.
        while ((ch = get()) >= 0) {
            if (ch == ',')
                break;
            if (ch == '\r' || ch == '\n') {
                consumeLineEnd(ch);
                break;
            }
        }
        return true;
    }

    while ((ch = get()) >= 0) {
        if (ch == ',')
            break;
        if (ch == '\r' || ch == '\n') {
            consumeLineEnd(ch);
            break;
        }
        field.append(char(ch));
    }
    return true;
}
