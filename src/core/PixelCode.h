#pragma once

#include <QString>
#include <QStringView>

// One dot of a character pattern: the two-character text "00" (black),
// "10" (white) or "01" (transparent). A data file can leave anything of at
// most two characters in an element (a short line leaves the empty text),
// and such elements must survive a save unchanged, so the raw characters are
// kept rather than an enum.
class PixelCode
{
public:
    constexpr PixelCode() = default;

    static constexpr PixelCode black() { return PixelCode(u'0', u'0'); }
    static constexpr PixelCode white() { return PixelCode(u'1', u'0'); }
    static constexpr PixelCode transparent() { return PixelCode(u'0', u'1'); }

    // Keeps at most the first two characters of the text.
    static PixelCode fromText(QStringView text);

    constexpr bool isBlack() const { return m_len == 2 && m_a == u'0' && m_b == u'0'; }
    constexpr bool isWhite() const { return m_len == 2 && m_a == u'1' && m_b == u'0'; }
    constexpr bool isTransparent() const { return m_len == 2 && m_a == u'0' && m_b == u'1'; }
    constexpr bool isEmpty() const { return m_len == 0; }

    QString toText() const;
    // Appends the raw characters; cheaper than toText() in the writer's loop.
    void appendTo(QString &out) const;

    constexpr bool operator==(const PixelCode &) const = default;

private:
    constexpr PixelCode(char16_t a, char16_t b) : m_a(a), m_b(b), m_len(2) {}

    char16_t m_a = 0;
    char16_t m_b = 0;
    quint8 m_len = 0;
};
