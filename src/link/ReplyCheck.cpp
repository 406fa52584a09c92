#include "ReplyCheck.h"

void ReplyCheck::begin(const QByteArray &frame, int replyLength)
{
    m_frame = frame;
    m_bytes.clear();
    m_replyLength = replyLength;
    m_copies = 1;
    m_fault = LineFault::None;
}

ReplyCheck::Verdict ReplyCheck::add(const QByteArray &bytes)
{
    m_bytes += bytes;
    if (m_fault != LineFault::None)
        return Verdict::Unclean;
    if (m_bytes.size() < m_replyLength)
        return Verdict::Waiting;
    // Checked first: a loopback returns the whole frame, which is also too
    // many bytes, but the wiring is what the operator must look at.
    if (m_frame.size() >= m_replyLength && m_bytes.startsWith(m_frame.left(m_replyLength)))
        return spoil(LineFault::Echo);
    if (m_bytes.size() > m_copies * m_replyLength)
        return spoil(LineFault::Extra);
    return Verdict::Clean;
}

ReplyCheck::Verdict ReplyCheck::spoil(LineFault fault)
{
    if (m_fault == LineFault::None)
        m_fault = fault;
    return Verdict::Unclean;
}
