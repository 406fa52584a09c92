#include "Commands.h"
#include "InterruptWatch.h"
#include "RenderOptions.h"
#include "VerbParser.h"

#include "link/history/TransferRecord.h"
#include "link/history/TransferLog.h"
#include "site/SiteMake.h"
#include "site/SitePoller.h"
#include "site/SiteSchedule.h"
#include "site/SiteWriter.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <QTime>

#include <optional>

namespace {

// The schedule, or nothing after saying why; `exitCode` 2 for a refused
// schedule, 1 for one that could not be read.
std::optional<SiteSchedule> readSchedule(const QString &fileName, int &exitCode, bool writes = true)
{
    SiteSchedule::Read read = SiteSchedule::readFile(fileName);
    if (read.schedule)
        return read.schedule;
    Cli::error(QStringLiteral("orvex: ") + read.error + (writes ? QStringLiteral("; nothing was written") : QString()));
    exitCode = read.unreadable ? 1 : 2;
    return std::nullopt;
}

// A word a POSIX shell reads back as it stands.
QString shellWord(const QString &word)
{
    static const QString plain = QStringLiteral("+-./:=@_,%");
    bool quote = word.isEmpty();
    for (QChar c : word)
        quote = quote || !(c.isLetterOrNumber() || plain.contains(c));
    if (!quote)
        return word;
    QString quoted = word;
    quoted.replace(u'\'', QLatin1String("'\\''"));
    return u'\'' + quoted + u'\'';
}

int siteMake(const QStringList &args)
{
    VerbParser verb(QStringLiteral("site make"),
                    QStringLiteral("Make FOLDER/<unit>.zvx for every unit of a camera schedule, as titles does."));
    verb.addPositional(QStringLiteral("SCHEDULE.csv"), QStringLiteral("The camera schedule."));
    verb.addPositional(QStringLiteral("FOLDER"), QStringLiteral("Where the units' titles go."));
    RenderOptions::addTo(verb);
    if (!verb.parse(args))
        return verb.exitCode();
    RenderOptions options;
    const QStringList positional = verb.positional();
    QString why = options.take(verb);
    if (why.isEmpty() && positional.size() != 2)
        why = QStringLiteral("site make needs SCHEDULE.csv FOLDER");
    if (!why.isEmpty())
        return Cli::badArguments(why);
    int exitCode = 0;
    const auto schedule = readSchedule(positional[0], exitCode);
    if (!schedule)
        return exitCode;
    const QString folder = positional[1];
    if (!QDir().mkpath(folder)) {
        Cli::error(QStringLiteral("orvex: cannot create the folder %1").arg(folder));
        return 1;
    }

    const TitlesMake::Settings settings = options.makeSettings();
    QTextStream out(stdout);
    bool allMade = true;
    bool bitmapNoted = false;
    for (const SiteSchedule::Unit &unit : schedule->units) {
        const TitlesMake::Outcome outcome = SiteMake::makeUnit(unit, folder, settings);
        const QString file = SiteMake::unitFile(folder, unit.name);
        if (!outcome.notice.isEmpty())
            Cli::error(QStringLiteral("orvex: %1: %2").arg(unit.name, outcome.notice));
        if (!outcome.error.isEmpty()) {
            Cli::error(QStringLiteral("orvex: %1: %2").arg(unit.name, outcome.error));
            allMade = false;
            continue;
        }
        for (int ch = 0; ch < Title::Channels; ++ch) {
            if (const QString &cut = outcome.made.cutWarnings[size_t(ch)]; !cut.isEmpty())
                Cli::error(QStringLiteral("orvex: warning: %1 CH%2: %3").arg(unit.name, QString::number(ch + 1), cut));
        }
        if (!outcome.made.bitmapWritten && !bitmapNoted) {
            bitmapNoted = true;
            Cli::error(QStringLiteral("orvex: note: could not write the work bitmap in %1; the titles were made all the same")
                           .arg(settings.workFolder));
        }
        QStringList channels;
        for (const SiteSchedule::Camera &camera : unit.cameras) {
            if (!camera.title.isEmpty())
                channels << QString::number(camera.channel);
        }
        out << unit.name << ": " << QDir::toNativeSeparators(file) << " made"
            << (channels.isEmpty() ? QStringLiteral(" (no title given, kept as it was)")
                                   : QStringLiteral(" (channels %1)").arg(channels.join(u',')))
            << Qt::endl;
    }
    return allMade ? 0 : 1;
}

int siteSend(const QStringList &args)
{
    VerbParser verb(QStringLiteral("site send"), QStringLiteral("Write every unit at once, each to its address."));
    verb.addPositional(QStringLiteral("SCHEDULE.csv"), QStringLiteral("The camera schedule."));
    verb.addPositional(QStringLiteral("FOLDER"), QStringLiteral("Where site make put the units' titles."));
    verb.addValue(QStringLiteral("units"), QStringLiteral("LIST"), QStringLiteral("Only these units, such as A,B."));
    verb.addFlag(QStringLiteral("changed"),
                 QStringLiteral("Only the channels changed since their last complete write to each unit."));
    if (!verb.parse(args))
        return verb.exitCode();
    const QStringList positional = verb.positional();
    const QStringList only = verb.value(QStringLiteral("units")).split(u',', Qt::SkipEmptyParts);
    if (verb.isSet(QStringLiteral("units")) && only.isEmpty())
        return Cli::badArguments(QStringLiteral("--units takes unit names such as A,B"));
    const bool onlyChanged = verb.isSet(QStringLiteral("changed"));
    if (positional.size() != 2)
        return Cli::badArguments(QStringLiteral("site send needs SCHEDULE.csv FOLDER"));
    int exitCode = 0;
    const auto schedule = readSchedule(positional[0], exitCode);
    if (!schedule)
        return exitCode;
    for (const QString &name : only) {
        if (!schedule->unit(name))
            return Cli::badArguments(QStringLiteral("--units: the schedule has no unit \"%1\"").arg(name));
    }

    QTextStream out(stdout);
    SiteWriter writer;
    writer.setTransferLog(TransferLog(), QStringLiteral("orvex"));
    QHash<QString, QString> lastMessage;
    QObject::connect(&writer, &SiteWriter::unitStarted, [&](const QString &unit, const QList<int> &channels) {
        if (channels.isEmpty())
            out << unit << ": nothing changed since its last complete write" << Qt::endl;
        else
            out << unit << ": writing channels " << TransferRecord::channelList(channels) << Qt::endl;
    });
    QObject::connect(&writer, &SiteWriter::unitProgress, [&](const QString &unit, int, const QString &message) {
        if (lastMessage.value(unit) == message)
            return;
        lastMessage[unit] = message;
        out << unit << ": " << message << Qt::endl;
    });
    QObject::connect(&writer, &SiteWriter::logWarning, [](const QString &unit, const QString &why) {
        Cli::error(QStringLiteral("orvex: note: %1's write is not recorded: %2").arg(unit, why));
    });
    const QString scheduleWord = shellWord(positional[0]);
    const QString folderWord = shellWord(positional[1]);
    QObject::connect(&writer, &SiteWriter::unitFinished, [&](const SiteWriter::Result &result) {
        if (result.completed) {
            if (result.report)
                out << result.unit << ": completed channels "
                    << TransferRecord::channelList(result.report->completedChannels()) << Qt::endl;
            return;
        }
        Cli::error(QStringLiteral("orvex: %1: %2").arg(result.unit, result.error));
        if (result.report && !result.unfinished.isEmpty())
            Cli::error(QStringLiteral("orvex: to finish %1: orvex send %2 --port %3 --channels %4")
                           .arg(result.unit, shellWord(result.file), shellWord(result.address),
                                TransferRecord::channelList(result.unfinished)));
        else if (!result.report)
            Cli::error(QStringLiteral("orvex: to finish %1: %2orvex site send %3 %4 --units %5")
                           .arg(result.unit,
                                result.address.isEmpty()
                                    ? QStringLiteral("give it an address in %1, then ").arg(positional[0])
                                    : QString(),
                                scheduleWord, folderWord, shellWord(result.unit)));
    });

    QEventLoop loop;
    QObject::connect(&writer, &SiteWriter::finished, &loop, &QEventLoop::quit);
    InterruptWatch interrupt([&writer] { writer.stop(); });
    writer.start(*schedule, positional[1], only, onlyChanged);
    loop.exec();

    if (interrupt.interrupted())
        return 130;
    for (const SiteWriter::Result &result : writer.results()) {
        if (!result.completed)
            return 1;
    }
    return 0;
}

QJsonObject unitJson(const SiteSchedule::Unit &scheduled, const SitePoller::Unit &unit)
{
    QJsonObject object;
    object[QStringLiteral("unit")] = unit.name;
    object[QStringLiteral("address")] = unit.address.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(unit.address);
    object[QStringLiteral("ok")] = unit.answered;
    object[QStringLiteral("error")] = unit.answered ? QJsonValue(QJsonValue::Null) : QJsonValue(unit.error);
    object[QStringLiteral("status")] = unit.answered
                                           ? QJsonValue(unit.status.jsonObject())
                                           : QJsonValue(QJsonValue::Null);
    QJsonArray cameras;
    for (const SiteSchedule::Camera &camera : scheduled.cameras) {
        QJsonObject entry;
        entry[QStringLiteral("channel")] = camera.channel;
        entry[QStringLiteral("title")] = camera.title;
        const bool known = unit.answered && unit.status.videoLossKnown;
        entry[QStringLiteral("video_lost")] = known ? QJsonValue(unit.status.videoLoss[size_t(camera.channel - 1)])
                                                    : QJsonValue(QJsonValue::Null);
        cameras.append(entry);
    }
    object[QStringLiteral("cameras")] = cameras;
    return object;
}

QString videoWord(const SitePoller::Unit &unit, int channel)
{
    if (!unit.answered || !unit.status.videoLossKnown)
        return QStringLiteral("unknown");
    return unit.status.videoLoss[size_t(channel - 1)] ? QStringLiteral("LOST") : QStringLiteral("ok");
}

void printUnit(QTextStream &out, const SiteSchedule::Unit &scheduled, const SitePoller::Unit &unit)
{
    out << unit.name << " (" << (unit.address.isEmpty() ? QStringLiteral("no address") : unit.address) << "): ";
    if (!unit.answered)
        out << "no answer: " << unit.error << '\n';
    else
        out << "active channel "
            << (unit.status.channel >= 0 ? QStringLiteral("CH%1").arg(unit.status.channel + 1) : QStringLiteral("unknown"))
            << '\n';
    for (const SiteSchedule::Camera &camera : scheduled.cameras)
        out << "  CH" << camera.channel << ' ' << camera.title << ": video " << videoWord(unit, camera.channel) << '\n';
    out.flush();
}

void printAll(QTextStream &out, const SitePoller &poller, bool json)
{
    const SiteSchedule &schedule = poller.schedule();
    if (json) {
        QJsonArray list;
        for (int i = 0; i < int(poller.units().size()); ++i)
            list.append(unitJson(schedule.units[i], poller.units()[i]));
        out << QJsonDocument(list).toJson(QJsonDocument::Compact) << Qt::endl;
        return;
    }
    for (int i = 0; i < int(poller.units().size()); ++i)
        printUnit(out, schedule.units[i], poller.units()[i]);
}

int siteStatus(const QStringList &args)
{
    VerbParser verb(QStringLiteral("site status"), QStringLiteral("Poll every unit of a camera schedule at once."));
    verb.addPositional(QStringLiteral("SCHEDULE.csv"), QStringLiteral("The camera schedule."));
    verb.addFlag(QStringLiteral("json"), QStringLiteral("As JSON."));
    verb.addFlag(QStringLiteral("watch"), QStringLiteral("Poll every 2 s until Ctrl+C."));
    if (!verb.parse(args))
        return verb.exitCode();
    const QStringList positional = verb.positional();
    const bool json = verb.isSet(QStringLiteral("json"));
    const bool watch = verb.isSet(QStringLiteral("watch"));
    if (positional.size() != 1)
        return Cli::badArguments(QStringLiteral("site status needs SCHEDULE.csv"));
    int exitCode = 0;
    const auto schedule = readSchedule(positional[0], exitCode, false);
    if (!schedule)
        return exitCode;

    QTextStream out(stdout);
    SitePoller poller(*schedule);
    QEventLoop loop;
    if (!watch) {
        QObject::connect(&poller, &SitePoller::finished, &loop, &QEventLoop::quit);
        InterruptWatch interrupt([&loop] { loop.quit(); });
        poller.start(false);
        loop.exec();
        if (interrupt.interrupted())
            return 130;
        printAll(out, poller, json);
        bool doubt = false;
        for (const SitePoller::Unit &unit : poller.units()) {
            if (!unit.answered)
                return 1;
            doubt = doubt || unit.resends > 0 || !unit.status.garbled.isEmpty();
        }
        if (doubt)
            Cli::error(QStringLiteral("orvex: some questions were asked again or garbled; run orvex status --port "
                                      "on that unit for what is in doubt"));
        return doubt ? 3 : 0;
    }

    // Watching: everything once every unit has answered (or not), then what changes.
    poller.setEventLog(VideoEventLog());
    QObject::connect(&poller, &SitePoller::logWarning, [](const QString &why) {
        Cli::error(QStringLiteral("orvex: note: video events are not recorded: ") + why);
    });
    bool firstShown = false;
    QString shownJson;
    // --json --watch: the whole list again, only when something in it changed.
    auto printChangedJson = [&] {
        QString now;
        QTextStream text(&now);
        printAll(text, poller, true);
        if (now != shownJson)
            out << now << Qt::flush;
        shownJson = now;
    };
    QHash<int, QString> shownState;
    auto stamp = [] { return QTime::currentTime().toString(QStringLiteral("HH:mm:ss")); };
    QObject::connect(&poller, &SitePoller::unitPolled, [&](int index) {
        const SitePoller::Unit &unit = poller.units()[index];
        const QString state = unit.answered ? QString() : unit.error;
        const bool changed = shownState.value(index, QStringLiteral("\x01")) != state;
        shownState[index] = state;
        if (json && firstShown) {
            printChangedJson();
            return;
        }
        if (!firstShown) {
            bool all = true;
            for (const SitePoller::Unit &each : poller.units())
                all = all && each.polled;
            if (all) {
                firstShown = true;
                if (json)
                    printChangedJson();
                else
                    printAll(out, poller, false);
            }
            return;
        }
        if (changed)
            out << stamp() << ' ' << unit.name << ": " << (unit.answered ? QStringLiteral("answers") : QStringLiteral("no answer: ") + unit.error)
                << Qt::endl;
    });
    QObject::connect(&poller, &SitePoller::videoChanged,
                     [&](const QString &unit, int channel, const QString &title, bool lost) {
                         if (firstShown && !json)
                             out << stamp() << ' ' << unit << " CH" << channel << ' ' << title << ": video "
                                 << (lost ? "lost" : "back") << Qt::endl;
                     });
    InterruptWatch interrupt([&loop] { loop.quit(); });
    poller.start(true);
    loop.exec();
    poller.stop();
    return 0;
}

} // namespace

int Cli::site(const QStringList &args)
{
    if (args.isEmpty())
        return badArguments(QStringLiteral("site needs make, send or status"));
    const QString verb = args.first();
    const QStringList rest = args.mid(1);
    if (verb == QLatin1String("make"))
        return siteMake(rest);
    if (verb == QLatin1String("send"))
        return siteSend(rest);
    if (verb == QLatin1String("status"))
        return siteStatus(rest);
    return badArguments(QStringLiteral("site: unknown verb \"%1\" (make, send or status)").arg(verb));
}
