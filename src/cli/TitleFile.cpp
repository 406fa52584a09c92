#include "TitleFile.h"

#include "Commands.h"

#include "core/SaveTarget.h"
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
    if (!result.normalised.isEmpty())
        error(QStringLiteral("orvex: ") + result.notice());
    return data;
}

bool savePng(const QImage &image, const QString &fileName)
{
    QString why;
    const SaveTarget::Result saved = SaveTarget::save(fileName, [&](QIODevice &file) {
        QImageWriter writer(&file, "png");
        if (writer.write(image))
            return true;
        why = writer.errorString();
        return false;
    });
    if (!saved.ok) {
        error(QStringLiteral("orvex: ") + saved.message() + (why.isEmpty() ? QString() : u'\n' + why));
        return false;
    }
    return true;
}

} // namespace Cli
