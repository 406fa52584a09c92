#include "PixelCode.h"

PixelCode PixelCode::fromText(QStringView text)
{
    PixelCode code;
    code.m_len = quint8(qMin<qsizetype>(text.size(), 2));
    if (code.m_len > 0)
        code.m_a = text[0].unicode();
    if (code.m_len > 1)
        code.m_b = text[1].unicode();
    return code;
}

QString PixelCode::toText() const
{
    QString text;
    appendTo(text);
    return text;
}

void PixelCode::appendTo(QString &out) const
{
    if (m_len > 0)
        out.append(QChar(m_a));
    if (m_len > 1)
        out.append(QChar(m_b));
}
