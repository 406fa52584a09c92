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

int ZvxFieldReader::take()
{
    // One byte past the limit is the delimiter of a field of full length.
    if (m_fieldBytes > MaxFieldBytes) {
        m_tooLong = true;
        return -1;
    }
    const int ch = get();
    if (ch >= 0)
        ++m_fieldBytes;
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
    m_fieldBytes = 0;
    m_fieldLine = m_line;
    while (peek() == ' ' && take() >= 0) {
    }
    int ch = peek();
    if (ch < 0 || m_tooLong)
        return false;

    if (ch == '"') {
        take();
        while ((ch = take()) >= 0 && ch != '"') {
            if (ch == '\n' || (ch == '\r' && peek() != '\n'))
                ++m_line;
            field.append(char(ch));
        }
        // Whatever follows the closing quote up to the delimiter is dropped.
        while (!m_tooLong && (ch = take()) >= 0) {
            if (ch == ',')
                break;
            if (ch == '\r' || ch == '\n') {
                consumeLineEnd(ch);
                break;
            }
        }
        return !m_tooLong;
    }

    while ((ch = take()) >= 0) {
        if (ch == ',')
            break;
        if (ch == '\r' || ch == '\n') {
            consumeLineEnd(ch);
            break;
        }
        field.append(char(ch));
    }
    return !m_tooLong;
}
