#include "Cp932.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace Cp932 {

namespace {

class Converter
{
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert between CP932 and UTF-16");
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // Converts as much as possible; returns false on an invalid or
    // unconvertible sequence at `in`, with the output so far appended.
    bool convert(const char *&in, size_t &inLeft, QByteArray &out)
    {
        char buffer[1024];
        while (inLeft > 0) {
            char *outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t rc = iconv(m_cd, const_cast<char **>(&in), &inLeft, &outPtr, &outLeft);
            out.append(buffer, qsizetype(outPtr - buffer));
            if (rc == size_t(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

    void reset() { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t m_cd;
};

bool isAscii(const QString &text)
{
    for (QChar ch : text)
        if (ch.unicode() >= 0x80)
            return false;
    return true;
}

bool isAscii(const QByteArray &bytes)
{
    for (char ch : bytes)
        if (static_cast<unsigned char>(ch) >= 0x80)
            return false;
    return true;
}

} // namespace

QByteArray encode(const QString &text)
{
    if (isAscii(text))
        return text.toLatin1();
    static Converter converter("CP932", "UTF-16LE");
    converter.reset();
    QByteArray out;
    const char *in = reinterpret_cast<const char *>(text.utf16());
    size_t inLeft = size_t(text.size()) * 2;
    while (!converter.convert(in, inLeft, out)) {
        // Skip the whole code point the code page cannot hold.
        const char16_t unit = char16_t(uchar(in[0]) | (uchar(in[1]) << 8));
        const size_t skip = (QChar::isHighSurrogate(unit) && inLeft >= 4) ? 4 : 2;
        in += skip;
        inLeft -= skip;
        out.append('?');
        converter.reset();
    }
    return out;
}

QString decode(const QByteArray &bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    static Converter converter("UTF-16LE", "CP932");
    converter.reset();
    QByteArray utf16;
    const char *in = bytes.constData();
    size_t inLeft = size_t(bytes.size());
    while (!converter.convert(in, inLeft, utf16)) {
        const char16_t replacement = 0xFFFD;
        utf16.append(reinterpret_cast<const char *>(&replacement), 2);
        ++in;
        --inLeft;
        converter.reset();
    }
    return QString(reinterpret_cast<const QChar *>(utf16.constData()), utf16.size() / 2);
}

} // namespace Cp932
