#include "render/BlockTextGuard.h"

#include "core/Cp932.h"
#include "core/FileSystem.h"
#include "core/ZvxFieldReader.h"
#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"
#include "support/QtPrinters.h"

#include <QBuffer>

#include <optional>

#include <gtest/gtest.h>

using Problem = BlockTextGuard::Problem;

namespace {

// Block `block` of the title `file` opens to, or nothing when it does not open.
std::optional<QString> openedBlock(const QByteArray &file, int block)
{
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    TitleData data;
    data.setDefaults();
    if (!ZvxReader::load(buffer, data).ok())
        return std::nullopt;
    return data.ChText[block];
}

// Whether either form a field can take, plain or quoted, carries `text`
// through a save and an opening unchanged: written as the first block text
// line of an otherwise blank title.
bool someFieldFormCarries(const QString &text)
{
    TitleData blank;
    blank.setDefaults();
    const QByteArray rest = ZvxWriter::serialize(blank).mid(int(sizeof("ZelkoVXData\r\n\r\n")) - 1);
    QString stored = text;
    FileSystem::ReplaceAll(stored, QStringLiteral(" "), QStringLiteral("!"));
    const QByteArray bytes = Cp932::encode(stored);
    for (const QByteArray &field : {bytes, '"' + bytes + '"'}) {
        if (openedBlock("ZelkoVXData\r\n" + field + "\r\n" + rest, 0) == text)
            return true;
    }
    return false;
}

// What the program itself writes, opened again.
std::optional<QString> savedAndOpened(const QString &text)
{
    TitleData data;
    data.setDefaults();
    data.ChText[4] = text;
    return openedBlock(ZvxWriter::serialize(data), 4);
}

} // namespace

// The guard refuses exactly the texts no field form gives back, and the
// writer gives back every text it lets through.
TEST(BlockTextGuard, RefusesOnlyWhatNoFieldFormCarriesThroughASave)
{
    const qsizetype max = ZvxFieldReader::MaxFieldBytes;
    const struct
    {
        QString text;
        Problem problem;
    } cases[] = {
        {QString(), Problem::None},
        {QStringLiteral("本日のニュース"), Problem::None},
        {QStringLiteral("Tokyo, Japan"), Problem::None},
        {QStringLiteral("東京, 大阪"), Problem::None},
        {QStringLiteral("1,000円"), Problem::None},
        {QStringLiteral(","), Problem::None},
        {QStringLiteral(",,a,,"), Problem::None},
        {QStringLiteral("  lead, and trail  "), Problem::None},
        {QStringLiteral("a \"quoted\" word"), Problem::None},
        {QStringLiteral("ends in a quote\""), Problem::None},
        {QStringLiteral(" \"after a space"), Problem::None},
        {QStringLiteral("全角、カンマ，と”引用”"), Problem::None},
        {QStringLiteral("tab\there"), Problem::None},
        {QStringLiteral("\""), Problem::LeadingQuote},
        {QStringLiteral("\"引用"), Problem::LeadingQuote},
        {QStringLiteral("\"a,b\""), Problem::LeadingQuote},
        {QStringLiteral("a,\"b\""), Problem::CommaAndQuote},
        {QStringLiteral("x\"y,z"), Problem::CommaAndQuote},
        {QStringLiteral("一行目\n二行目"), Problem::LineBreak},
        {QStringLiteral("a\rb"), Problem::LineBreak},
        {QStringLiteral("a,\r\nb"), Problem::LineBreak},
        // A space is stored as "!", so a "!" of the text would come back a space.
        {QStringLiteral("Hello!"), Problem::Exclamation},
        {QStringLiteral("本日！開店"), Problem::None},
        {QStringLiteral("?は?のまま"), Problem::None},
        {QStringLiteral("～①髙"), Problem::None},
        {QStringLiteral("한국어"), Problem::NotInCodePage},
        {QStringLiteral("smile 😀"), Problem::NotInCodePage},
        // The reader takes 64 KiB a field, counting a quoted field's quotes.
        {QString(max, u'x'), Problem::None},
        {QString(max / 2, u'あ'), Problem::None},
        {QString(max + 1, u'x'), Problem::TooLong},
        {QString(max / 2 + 1, u'あ'), Problem::TooLong},
        {QString(max - 3, u'x') + u',', Problem::None},
        {QString(max - 2, u'x') + u',', Problem::TooLong},
    };
    for (const auto &c : cases) {
        const std::string name = c.text.left(20).toStdString();
        EXPECT_EQ(BlockTextGuard::check(c.text), c.problem) << name;
        EXPECT_EQ(BlockTextGuard::isStorable(c.text), someFieldFormCarries(c.text)) << name;
        if (BlockTextGuard::isStorable(c.text)) {
            EXPECT_EQ(savedAndOpened(c.text), c.text) << name;
        }
    }
}

TEST(BlockTextGuard, EachRefusalNamesTheCharacterAtFault)
{
    const struct
    {
        Problem problem;
        QStringList named;
    } cases[] = {
        {Problem::CommaAndQuote, {QStringLiteral("「,」"), QStringLiteral("「\"」")}},
        {Problem::LeadingQuote, {QStringLiteral("「\"」")}},
        {Problem::LineBreak, {QStringLiteral("改行")}},
        {Problem::Exclamation, {QStringLiteral("「!」"), QStringLiteral("「！」")}},
        {Problem::TooLong, {QStringLiteral("長すぎます")}},
    };
    EXPECT_TRUE(BlockTextGuard::message(Problem::NotInCodePage, QStringLiteral("AB한C"))
                    .contains(QStringLiteral("「한」")));
    EXPECT_TRUE(BlockTextGuard::message(Problem::NotInCodePage, QStringLiteral("x😀"))
                    .contains(QStringLiteral("「😀」")));
    for (const auto &c : cases) {
        const QString message = BlockTextGuard::message(c.problem);
        EXPECT_TRUE(message.contains(QStringLiteral("データを作成しませんでした"))) << message.toStdString();
        for (const QString &named : c.named)
            EXPECT_TRUE(message.contains(named)) << message.toStdString();
    }
    EXPECT_TRUE(BlockTextGuard::message(Problem::None).isEmpty());
}
