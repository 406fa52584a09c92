#include "TitleFile.h"

#include "Commands.h"

#include "core/ImageFile.h"
#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"
#include "render/MakeData.h"

namespace Cli {

std::unique_ptr<TitleData> startTitle()
{
    auto data = std::make_unique<TitleData>();
    data->setDefaults();
    return data;
}

std::unique_ptr<TitleData> readTitle(const QString &fileName)
{
    auto data = startTitle();
    const ZvxReadResult result = ZvxReader::readFile(fileName, *data);
    if (!result.ok()) {
        error(QStringLiteral("orvex: ") + result.message());
        return nullptr;
    }
    if (result.changedOnOpening())
        error(QStringLiteral("orvex: ") + result.notice());
    return data;
}

std::unique_ptr<TitleData> readTitleOrEmpty(const QString &fileName)
{
    if (fileName != QLatin1String("-"))
        return readTitle(fileName);
    auto data = std::make_unique<TitleData>();
    data->setDefaults();
    return data;
}

QString textRefused(BlockTextGuard::Problem problem, const QString &text, const QString &fileName)
{
    return BlockTextGuard::reason(problem, text).remove(u'\n')
        + QStringLiteral("「%1」には何も書き込みませんでした。").arg(fileName);
}

void noteBitmapNotWritten(const QString &workFolder)
{
    error(QStringLiteral("orvex: note: could not write %1; the title was made all the same")
              .arg(workFolder + MakeData::BitmapName));
}

bool savePng(const QImage &image, const QString &fileName)
{
    const QString why = ImageFile::savePng(image, fileName);
    if (!why.isEmpty())
        error(QStringLiteral("orvex: ") + why);
    return why.isEmpty();
}

bool writeTitle(TitleData &data, const QString &fileName)
{
    const ZvxWriteResult written = ZvxWriter::writeFile(fileName, data);
    if (!written.ok)
        error(QStringLiteral("orvex: ") + written.message());
    return written.ok;
}

} // namespace Cli
