#include "BlockTextGuard.h"

#include "core/Cp932.h"
#include "core/ZvxFieldReader.h"

BlockTextGuard::Problem BlockTextGuard::check(const QString &text)
{
    if (text.startsWith(u'"'))
        return Problem::LeadingQuote;
    const bool comma = text.contains(u',');
    if (comma && text.contains(u'"'))
        return Problem::CommaAndQuote;
    if (text.contains(u'\r') || text.contains(u'\n'))
        return Problem::LineBreak;
    if (text.contains(u'!'))
        return Problem::Exclamation;
    if (!characterNotInCodePage(text).isEmpty())
        return Problem::NotInCodePage;
    // The reader's limit counts the quotes of a quoted field. Two bytes a
    // character at most; only a text that could be too long is encoded.
    const qsizetype limit = ZvxFieldReader::MaxFieldBytes - (comma ? 2 : 0);
    if (text.size() * 2 > limit && Cp932::encode(text).size() > limit)
        return Problem::TooLong;
    return Problem::None;
}

QString BlockTextGuard::characterNotInCodePage(const QString &text)
{
    // Plain ASCII is always held; only look closer at anything else.
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        return {};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        if (Cp932::decode(Cp932::encode(character)) != character)
            return character;
        i += length - 1;
    }
    return {};
}

QString BlockTextGuard::title()
{
    return QStringLiteral("データ作成");
}

QString BlockTextGuard::message(Problem problem, const QString &text, const QString &button)
{
    const QString why = reason(problem, text);
    return why.isEmpty() ? why
                         : why + QStringLiteral("\n文字列を直してから、もう一度%1を押してください。")
                                     .arg(button.isEmpty() ? QStringLiteral("「%1」").arg(title()) : button);
}

QString BlockTextGuard::reason(Problem problem, const QString &text)
{
    switch (problem) {
    case Problem::CommaAndQuote:
        return QStringLiteral("文字列に半角のカンマ「,」と半角の引用符「\"」の両方が含まれています。\n"
                              "両方を含む文字列はデータファイルに保存できないため、データを作成しませんでした。"
                              "どちらか一方を全角（「，」や「”」）にしてください。");
    case Problem::LeadingQuote:
        return QStringLiteral("文字列の先頭が半角の引用符「\"」です。\n"
                              "引用符で始まる文字列はデータファイルに保存できないため、データを作成しませんでした。");
    case Problem::LineBreak:
        return QStringLiteral("文字列に改行が含まれています。\n"
                              "改行を含む文字列はデータファイルに保存できないため、データを作成しませんでした。");
    case Problem::Exclamation:
        return QStringLiteral("文字列に半角の感嘆符「!」が含まれています。\n"
                              "データファイルでは半角の「!」が空白として読み戻されるため、データを作成しませんでした。"
                              "全角の「！」にしてください。");
    case Problem::NotInCodePage: {
        const QString named = characterNotInCodePage(text);
        return (named.isEmpty()
                    ? QStringLiteral("文字列にデータファイルの文字コード（シフトJIS）で表せない文字が含まれています。\n")
                    : QStringLiteral("文字列の「%1」はデータファイルの文字コード（シフトJIS）で表せない文字です。\n")
                          .arg(named))
            + QStringLiteral("保存すると「?」に変わるため、データを作成しませんでした。");
    }
    case Problem::TooLong:
        return QStringLiteral("文字列が長すぎます（%1バイトまで）。\n"
                              "データファイルに保存できないため、データを作成しませんでした。")
            .arg(ZvxFieldReader::MaxFieldBytes);
    case Problem::None:
        break;
    }
    return {};
}
