#include "SimFrameParser.h"

int SimFrameParser::blockLength() const
{
    static const QByteArray screen("@WD,"), character("@WC,");
    const qsizetype n = std::min<qsizetype>(m_buffer.size(), 4);
    const QByteArray head = m_buffer.left(n);
    if (head == screen.left(n) || head == character.left(n)) {
        if (n < 4)
            return -1;
        return head == screen ? ScreenFrameLength : CharFrameLength;
    }
    return 0;
}

QByteArrayList SimFrameParser::feed(const QByteArray &bytes)
{
    m_buffer += bytes;
    QByteArrayList frames;
    for (;;) {
        const int fixed = blockLength();
        if (fixed < 0)
            break;
        qsizetype length = 0;
        if (fixed > 0) {
            if (m_buffer.size() < fixed)
                break;
            length = fixed;
        } else {
            const qsizetype cr = m_buffer.indexOf('\r');
            if (cr < 0)
                break;
            length = cr + 1;
        }
        frames << m_buffer.left(length - 1);
        m_buffer.remove(0, length);
    }
    return frames;
}
