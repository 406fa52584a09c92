#include "MakeData.h"

#include "BlockEdit.h"
#include "StripSampler.h"

#include "core/ScreenLayout.h"

void MakeData::draw(TextPicture &picture, const QString &text, const QFont &font)
{
    picture.clear();
    // The trailing space is what makes an underlined or struck-out empty
    // text still draw its line.
    picture.PicPrint(0, 0, text + u' ', font);
}

MakeData::Result MakeData::renderBlock(TitleData &data, const Request &request)
{
    Result result;
    result.refused = BlockTextGuard::check(request.text);
    if (!result.done())
        return result;

    TextPicture picture;
    draw(picture, request.text, request.font);
    // The bitmap is a by-product kept for the operator's tools; the strip is
    // read from the picture in memory, so a folder that cannot be written
    // does not stop the rendering.
    result.bitmapWritten = picture.save(request.workFolder + BitmapName);

    result.fit = StripFit::measure(request.text, request.font);
    data.ChText[ScreenLayout::blockOf(request.topCode)] = request.text;
    StripSampler::PicDataSet(picture.image(), data, request.topCode);
    if (request.edging)
        BlockEdit::edge(data, request.topCode);
    return result;
}

MakeData::Result MakeData::run(TitleData &data, const Request &request)
{
    Result result = renderBlock(data, request);
    if (!result.done())
        return result;
    ScreenLayout::clearPage(data, request.page);
    result.cellsPlaced = ScreenLayout::placeBlock(data, request.page, request.selCell, request.topCode);
    result.cutWarning = StripFit::warning(request.text, result.fit, request.selCell);
    return result;
}
