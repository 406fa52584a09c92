#include "BlockTextGuard.h"

#include "core/Cp932.h"
#include "core/ZvxFieldReader.h"

BlockTextGuard::Problem BlockTextGuard::check(const QString &text)
{
    if (text.contains(u','))
        return Problem::Comma;
    if (text.startsWith(u'"'))
        return Problem::LeadingQuote;
    if (text.contains(u'\r') || text.contains(u'\n'))
        return Problem::LineBreak;
    // Two bytes a character at most; only a text that could be too long is encoded.
    if (text.size() * 2 > ZvxFieldReader::MaxFieldBytes && Cp932::encode(text).size() > ZvxFieldReader::MaxFieldBytes)
        return Problem::TooLong;
    return Problem::None;
}

QString BlockTextGuard::title()
{
    return QStringLiteral("データ作成");
}

QString BlockTextGuard::message(Problem problem)
{
    const QString retry = QStringLiteral("\n文字列を直してから、もう一度「データ作成」を押してください。");
    switch (problem) {
    case Problem::Comma:
        return QStringLiteral("文字列に半角のカンマ「,」が含まれています。\n"
                              "カンマを含む文字列はデータファイルに保存できないため、データを作成しませんでした。")
            + retry;
    case Problem::LeadingQuote:
        return QStringLiteral("文字列の先頭が半角の引用符「\"」です。\n"
                              "引用符で始まる文字列はデータファイルに保存できないため、データを作成しませんでした。")
            + retry;
    case Problem::LineBreak:
        return QStringLiteral("文字列に改行が含まれています。\n"
                              "改行を含む文字列はデータファイルに保存できないため、データを作成しませんでした。")
            + retry;
    case Problem::TooLong:
        return QStringLiteral("文字列が長すぎます（%1バイトまで）。\n"
                              "データファイルに保存できないため、データを作成しませんでした。")
                   .arg(ZvxFieldReader::MaxFieldBytes)
            + retry;
    case Problem::None:
        break;
    }
    return {};
}
