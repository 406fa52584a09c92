#include "TitleNormaliser.h"

#include "Cp932.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// Long lists of codes are cut short; the operator needs to know that it
// happened and where to look first, not every number.
constexpr int MaxNamed = 16;

QString numberList(const QList<int> &numbers)
{
    QStringList names;
    for (int i = 0; i < numbers.size() && i < MaxNamed; ++i)
        names << QString::number(numbers[i]);
    QString text = names.join(QStringLiteral(", "));
    if (numbers.size() > MaxNamed)
        text += QStringLiteral(" ほか%1個").arg(numbers.size() - MaxNamed);
    return text;
}

bool isStorableDot(const PixelCode &code)
{
    return code.isEmpty() || code.isBlack() || code.isWhite() || code.isTransparent();
}

} // namespace

QString TitleNormaliser::storableText(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QString flat = text;
    flat.replace(lineBreak, QStringLiteral(" "));
    return Cp932::decode(Cp932::encode(flat));
}

TitleNormaliser::Report TitleNormaliser::normalise(TitleData &data)
{
    Report report;
    for (int block = 0; block < Title::Blocks; ++block) {
        const QString text = storableText(data.ChText[block]);
        if (text != data.ChText[block]) {
            data.ChText[block] = text;
            report.blocks << block;
        }
    }
    for (int code = 0; code < Title::CodeCount; ++code) {
        bool changed = false;
        for (PixelCode &dot : data.DotData[code]) {
            if (!isStorableDot(dot)) {
                dot = PixelCode::transparent();
                changed = true;
            }
        }
        if (changed)
            report.codes << code;
    }
    return report;
}

QString TitleNormaliser::Report::message(const QString &fileName) const
{
    if (isEmpty())
        return {};
    QStringList lines;
    lines << QStringLiteral("ファイル「%1」には、そのままでは保存し直せないデータがあったため、読み込み時に直しました。")
                 .arg(fileName);
    if (!blocks.isEmpty())
        lines << QStringLiteral("ブロック %1 の文字列: 改行を空白に、保存できない文字を「?」にしました。")
                     .arg(numberList(blocks));
    if (!codes.isEmpty())
        lines << QStringLiteral("文字コード %1 のパターン: 00・01・10 以外の点を透明（01）にしました。")
                     .arg(numberList(codes));
    return lines.join(u'\n');
}
