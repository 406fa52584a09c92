#include "TitleFile.h"

#include "Commands.h"

#include "core/ZvxReader.h"

#include <QImageWriter>

namespace Cli {

std::unique_ptr<TitleData> readTitle(const QString &fileName)
{
    auto data = std::make_unique<TitleData>();
    data->setDefaults();
    const ZvxReadResult result = ZvxReader::readFile(fileName, *data);
    if (!result.ok()) {
        error(result.message());
        return nullptr;
    }
    return data;
}

bool savePng(const QImage &image, const QString &fileName)
{
    QImageWriter writer(fileName, "png");
    if (!writer.write(image)) {
        error(QStringLiteral("orvex: cannot write \"%1\": %2").arg(fileName, writer.errorString()));
        return false;
    }
    return true;
}

} // namespace Cli
