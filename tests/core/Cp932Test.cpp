#include "core/Cp932.h"

#include <gtest/gtest.h>

TEST(Cp932, KeepsTheCharactersWhereCp932DiffersFromShiftJis)
{
    // FULLWIDTH TILDE and CIRCLED DIGIT ONE exist only in Microsoft's table.
    const QString text = QStringLiteral("本日のニュース～①");
    const QByteArray bytes = Cp932::encode(text);
    EXPECT_EQ(bytes.mid(bytes.size() - 4), QByteArray("\x81\x60\x87\x40", 4));
    EXPECT_EQ(Cp932::decode(bytes), text);
}

TEST(Cp932, UnrepresentableCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(Cp932::encode(QStringLiteral("a€b😀c")), QByteArray("a?b?c"));
}

TEST(Cp932, BrokenBytesDecodeToReplacementCharacters)
{
    const QString text = Cp932::decode(QByteArray("A\x81", 2));
    ASSERT_EQ(text.size(), 2);
    EXPECT_EQ(text[0], QChar('A'));
    EXPECT_EQ(text[1], QChar(0xFFFD));
}
