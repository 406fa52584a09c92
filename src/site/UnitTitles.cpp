#include "UnitTitles.h"

#include "core/ZvxReader.h"
#include "link/history/ChangedChannels.h"

#include <QFileInfo>

#include <memory>

bool UnitTitles::needsMake() const
{
    if (!hasFile)
        return true;
    for (const Camera &camera : cameras) {
        if (camera.step == Step::Make)
            return true;
    }
    return false;
}

UnitTitles UnitTitles::of(const SiteSchedule::Unit &unit, const QString &file, const QDateTime &scheduleTime,
                          const TransferLog::Contents &log)
{
    UnitTitles titles;
    const QFileInfo info(file);
    titles.hasFile = info.isFile();
    auto data = std::make_unique<TitleData>(); // too large for the stack
    data->setDefaults();
    if (titles.hasFile) {
        const ZvxReadResult read = ZvxReader::readFile(file, *data);
        if (!read.ok())
            titles.fileError = read.message();
    }
    const bool readable = titles.hasFile && titles.fileError.isEmpty();
    // A file saved after the schedule was edited on purpose (in the editor):
    // making it again would throw that away.
    const bool olderThanSchedule = readable && info.lastModified() < scheduleTime;
    std::array<ChangedChannels::State, Title::Channels> sent;
    sent.fill(ChangedChannels::State::Same);
    if (readable && unit.port.isValid() && log.error.isEmpty())
        sent = ChangedChannels::compare(*data, log.records, unit.port.toString());

    for (const SiteSchedule::Camera &scheduled : unit.cameras) {
        Camera camera;
        camera.channel = scheduled.channel;
        camera.scheduled = scheduled.title;
        if (readable)
            camera.inFile = data->ChText[size_t(scheduled.channel - 1)];
        const bool differs = !scheduled.title.isEmpty() && camera.inFile != scheduled.title;
        if (!readable || (differs && olderThanSchedule))
            camera.step = Step::Make;
        else if (differs)
            camera.step = Step::EditedInFile;
        else if (sent[size_t(scheduled.channel - 1)] != ChangedChannels::State::Same)
            camera.step = Step::Write;
        titles.cameras << camera;
    }
    return titles;
}
