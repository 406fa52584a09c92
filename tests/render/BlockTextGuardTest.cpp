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

    for (Problem p : {Problem::Comma, Problem::LeadingQuote, Problem::LineBreak})
        EXPECT_TRUE(BlockTextGuard::message(p).contains(QStringLiteral("データを作成しませんでした")));
}
