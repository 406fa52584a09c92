#include "AllChannelsMake.h"

AllChannelsMake::Result AllChannelsMake::run(TitleData &data, const Request &request)
{
    Result result;
    for (int ch = 0; ch < Title::Channels; ++ch) {
        const QString &text = request.texts[size_t(ch)];
        const BlockTextGuard::Problem problem = BlockTextGuard::check(text);
        if (!text.isEmpty() && problem != BlockTextGuard::Problem::None) {
            result.refusedChannel = ch;
            result.refused = problem;
            return result;
        }
    }
    for (int ch = 0; ch < Title::Channels; ++ch) {
        if (request.texts[size_t(ch)].isEmpty())
            continue;
        MakeData::Request one;
        one.text = request.texts[size_t(ch)];
        one.font = request.font;
        one.edging = request.edging;
        one.topCode = ch * Title::BlockSize + 1;
        one.page = ch;
        one.selCell = request.cells[size_t(ch)];
        one.workFolder = request.workFolder;
        const MakeData::Result made = MakeData::run(data, one);
        result.made[size_t(ch)] = made.done();
        result.bitmapWritten = result.bitmapWritten && made.bitmapWritten;
        result.cutWarnings[size_t(ch)] = made.cutWarning;
    }
    return result;
}

QStringList AllChannelsMake::Result::cutLines() const
{
    QStringList lines;
    for (int ch = 0; ch < Title::Channels; ++ch)
        if (!cutWarnings[size_t(ch)].isEmpty())
            lines << QStringLiteral("CH%1: %2").arg(ch + 1).arg(cutWarnings[size_t(ch)]);
    return lines;
}
