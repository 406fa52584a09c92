#include "ZvxReadResult.h"

#include "ZvxFieldReader.h"
#include "ZvxFormat.h"

#include <QStringList>

namespace {

QString unreadItem(ZvxReadResult::Unread unread, int number)
{
    switch (unread) {
    case ZvxReadResult::Unread::BlockText: return QStringLiteral("ブロック %1 の文字列").arg(number);
    case ZvxReadResult::Unread::CharacterCode: return QStringLiteral("文字コード %1 のパターン").arg(number);
    case ZvxReadResult::Unread::ScreenPage: return QStringLiteral("画面ページ %1").arg(number);
    case ZvxReadResult::Unread::Everything:
    case ZvxReadResult::Unread::Nothing: break;
    }
    return {};
}

} // namespace

QString ZvxReadResult::message() const
{
    switch (error) {
    case Error::None:
        return {};
    case Error::CannotOpen:
        return QStringLiteral("ファイル「%1」を開けません。\n%2").arg(fileName, systemMessage);
    case Error::NotRegularFile:
        return QStringLiteral("ファイル「%1」は読み込みませんでした。\n%2").arg(fileName, systemMessage);
    case Error::ReadFailed:
        return QStringLiteral("ファイル「%1」の読み込み中にエラーが発生しました。\n%2").arg(fileName, systemMessage);
    case Error::NumberOutOfRange:
        return QStringLiteral("ファイル「%1」の%2行目の画面データ「%3」が0～255の範囲外です。\n"
                              "データは読み込まれませんでした。")
            .arg(fileName)
            .arg(line)
            .arg(field.left(40));
    case Error::FieldTooLong:
        return QStringLiteral("ファイル「%1」の%2行目から始まる項目が長すぎます（%3バイトを超えています）。\n"
                              "データファイルではないか、壊れています。データは読み込まれませんでした。")
            .arg(fileName)
            .arg(line)
            .arg(ZvxFieldReader::MaxFieldBytes);
    }
    return {};
}

QString ZvxReadResult::notice() const
{
    if (!changedOnOpening())
        return {};
    QStringList lines;
    if (unread == Unread::Everything) {
        lines << QStringLiteral("ファイル「%1」は空です。タイトルはすべて、開く前の内容のままです。").arg(fileName);
    } else {
        if (tagMissing)
            lines << QStringLiteral("ファイル「%1」の1行目がデータファイルの目印「%2」ではありません。"
                                    "データファイルではないかもしれません。")
                         .arg(fileName, QLatin1String(ZvxFormat::Tag));
        if (endsEarly())
            lines << QStringLiteral("ファイル「%1」は%2行目で終わっていて、タイトルの終わり（%3行目）まで届いていません。"
                                    "%4から後は、開く前の内容のままです。")
                         .arg(fileName)
                         .arg(lastLine)
                         .arg(ZvxFormat::TitleLines)
                         .arg(unreadItem(unread, unreadNumber));
    }
    if (!normalised.isEmpty())
        lines << normalised.message(fileName);
    if (tagMissing || endsEarly())
        lines << QStringLiteral("このまま保存すると、ファイルはこの内容で書き換えられます。");
    return lines.join(u'\n');
}
