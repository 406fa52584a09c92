#include "TitlesMake.h"

#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"

#include <memory>

namespace TitlesMake {

Outcome run(const QString &in, const std::array<QString, Title::Channels> &texts, const Settings &settings,
            const QString &out)
{
    Outcome outcome;
    // Too large for the stack.
    auto data = std::make_unique<TitleData>();
    data->setDefaults();
    if (!in.isEmpty()) {
        const ZvxReadResult read = ZvxReader::readFile(in, *data);
        if (!read.ok()) {
            outcome.error = read.message();
            return outcome;
        }
        if (read.changedOnOpening())
            outcome.notice = read.notice();
    }

    AllChannelsMake::Request request;
    request.texts = texts;
    request.font = settings.font;
    request.edging = settings.edging;
    request.cells.fill(settings.cell);
    request.workFolder = settings.workFolder;
    outcome.made = AllChannelsMake::run(*data, request);
    if (!outcome.made.done())
        return outcome;

    const ZvxWriteResult written = ZvxWriter::writeFile(out, *data);
    if (!written.ok) {
        outcome.error = written.message();
        return outcome;
    }
    outcome.written = true;
    return outcome;
}

} // namespace TitlesMake
