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

QList<SimFrameParser::Frame> SimFrameParser::feed(const QByteArray &bytes)
{
    m_buffer += bytes;
    QList<Frame> frames;
    for (;;) {
        if (m_skippingLine) {
            const qsizetype cr = m_buffer.indexOf('\r');
            m_buffer.remove(0, cr < 0 ? m_buffer.size() : cr + 1);
            if (cr < 0)
                break;
            m_skippingLine = false;
        }
        const int fixed = blockLength();
        if (fixed < 0)
            break;
        if (fixed > 0) {
            if (m_buffer.size() < fixed)
                break;
            Frame frame{m_buffer.left(fixed - 1), {}};
            // The device takes the block by its length; a frame whose byte
            // after the block is not CR was sent short or long.
            if (m_buffer.at(fixed - 1) != '\r')
                frame.refusal = QStringLiteral("block frame not ended by CR");
            frames << frame;
            m_buffer.remove(0, fixed);
            continue;
        }
        const qsizetype cr = m_buffer.indexOf('\r');
        if (cr < 0 && m_buffer.size() > MaxTextLength) {
            frames << Frame{m_buffer.left(MaxTextLength), QStringLiteral("text longer than any command")};
            m_buffer.clear();
            m_skippingLine = true;
            continue;
        }
        if (cr < 0)
            break;
        frames << Frame{m_buffer.left(cr), {}};
        m_buffer.remove(0, cr + 1);
    }
    return frames;
}
