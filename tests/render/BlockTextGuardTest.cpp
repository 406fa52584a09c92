#include "render/BlockTextGuard.h"

#include <gtest/gtest.h>

using Problem = BlockTextGuard::Problem;

TEST(BlockTextGuard, RefusesWhatTheDataFileCannotReadBack)
{
    EXPECT_EQ(BlockTextGuard::check(QStringLiteral("本日のニュース")), Problem::None);
    EXPECT_EQ(BlockTextGuard::check(QString()), Problem::None);
    EXPECT_EQ(BlockTextGuard::check(QStringLiteral("a \"quoted\" word")), Problem::None);
    EXPECT_EQ(BlockTextGuard::check(QStringLiteral("全角、カンマ，")), Problem::None);
    EXPECT_EQ(BlockTextGuard::check(QStringLiteral("1,000円")), Problem::Comma);
    EXPECT_EQ(BlockTextGuard::check(QStringLiteral(",")), Problem::Comma);
    EXPECT_EQ(BlockTextGuard::check(QStringLiteral("\"引用")), Problem::LeadingQuote);
    EXPECT_EQ(BlockTextGuard::check(QStringLiteral("一行目\n二行目")), Problem::LineBreak);
    EXPECT_EQ(BlockTextGuard::check(QStringLiteral("a\rb")), Problem::LineBreak);
    // The reader takes 64 KiB a field: that many bytes in code page 932 are kept, one more is not.
    EXPECT_EQ(BlockTextGuard::check(QString(65536, u'x')), Problem::None);
    EXPECT_EQ(BlockTextGuard::check(QString(32768, u'あ')), Problem::None);
    EXPECT_EQ(BlockTextGuard::check(QString(65537, u'x')), Problem::TooLong);
    EXPECT_EQ(BlockTextGuard::check(QString(32769, u'あ')), Problem::TooLong);

    for (Problem p : {Problem::Comma, Problem::LeadingQuote, Problem::LineBreak, Problem::TooLong})
        EXPECT_TRUE(BlockTextGuard::message(p).contains(QStringLiteral("データを作成しませんでした")));
}
