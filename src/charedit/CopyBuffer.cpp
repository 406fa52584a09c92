#include "CopyBuffer.h"

CopyBuffer &CopyBuffer::shared()
{
    static CopyBuffer buffer;
    return buffer;
}

void CopyBuffer::copyFrom(const CharPattern &pattern)
{
    m_pattern = pattern;
    m_filled = true;
}

void CopyBuffer::clear()
{
    m_pattern = CharPattern{};
    m_filled = false;
}
