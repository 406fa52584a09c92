#include "Commands.h"
#include "InterruptWatch.h"
#include "LinkSession.h"
#include "TitleFile.h"
#include "VerbParser.h"
#include "core/TitleData.h"
#include "link/history/ChangedChannels.h"
#include "link/history/ChannelFrames.h"
#include "link/history/TransferRecorder.h"
#include "netserial/PortAddress.h"

#include <QFileInfo>
#include <QTextStream>

#include <unistd.h>

namespace {

// "1,3,8" -> flags; false on anything but channel numbers 1..8.
bool parseChannels(const QString &text, std::array<bool, Title::Channels> &flags)
{
    flags.fill(false);
    const QStringList parts = text.split(u',', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return false;
    for (const QString &part : parts) {
        bool ok = false;
        const int channel = part.trimmed().toInt(&ok);
        if (!ok || channel < 1 || channel > Title::Channels)
            return false;
        flags[channel - 1] = true;
    }
    return true;
}

QString why(ChangedChannels::State state)
{
    switch (state) {
    case ChangedChannels::State::Same: return QStringLiteral("unchanged");
    case ChangedChannels::State::Changed: return QStringLiteral("changed since the last write");
    case ChangedChannels::State::NeverWritten: return QStringLiteral("no write to this port on record");
    case ChangedChannels::State::Unfinished: return QStringLiteral("the last write to this port broke off");
    }
    return {};
}

// Narrows `channels` to those whose frames differ from the last complete
// write to `device`; false when the log cannot tell.
bool keepChanged(const TitleData &data, const TransferLog &log, const QString &device,
                 std::array<bool, Title::Channels> &channels)
{
    const TransferLog::Contents contents = log.read();
    if (!contents.error.isEmpty()) {
        Cli::error(QStringLiteral("orvex: --changed needs the transfer log: ") + contents.error);
        return false;
    }
    QTextStream out(stdout);
    out << "--changed trusts the unit on " << device
        << " to hold what this computer last wrote to it (" << log.path() << ")" << Qt::endl;
    const auto states = ChangedChannels::compare(data, contents.records, device);
    for (int ch = 0; ch < Title::Channels; ++ch) {
        if (!channels[size_t(ch)])
            continue;
        out << "  channel " << ch + 1 << ": " << why(states[size_t(ch)]) << Qt::endl;
        channels[size_t(ch)] = states[size_t(ch)] != ChangedChannels::State::Same;
    }
    return true;
}

QString listOrNone(const QList<int> &channels)
{
    return channels.isEmpty() ? QStringLiteral("none") : TransferRecord::channelList(channels);
}

} // namespace

int Cli::send(const QStringList &args)
{
    VerbParser verb(QStringLiteral("send"), QStringLiteral("Write a title to the device."));
    verb.addPositional(QStringLiteral("IN.zvx"), QStringLiteral("The title to write."));
    verb.addValue(QStringLiteral("port"), QStringLiteral("PORT"),
                  QStringLiteral("1..8, a device, tcp://HOST:PORT or rfc2217://HOST:PORT."));
    verb.addValue(QStringLiteral("channels"), QStringLiteral("LIST"),
                  QStringLiteral("Only these channels, such as 1,3,8 (all by default)."));
    verb.addFlag(QStringLiteral("changed"),
                 QStringLiteral("Only the channels changed since their last complete write to that port."));
    if (!verb.parse(args))
        return verb.exitCode();
    const QStringList positional = verb.positional();
    if (positional.size() > 1)
        return badArguments(QStringLiteral("send: unexpected \"%1\"").arg(positional[1]));
    const QString input = positional.value(0);
    const QString port = verb.value(QStringLiteral("port"));
    const bool onlyChanged = verb.isSet(QStringLiteral("changed"));
    std::array<bool, Title::Channels> channels;
    channels.fill(true); // as "全チャンネルデータ送信"
    if (verb.isSet(QStringLiteral("channels")) && !parseChannels(verb.value(QStringLiteral("channels")), channels))
        return badArguments(QStringLiteral("--channels takes channel numbers 1..8 such as 1,3,8"));
    if (input.isEmpty() || port.isEmpty())
        return badArguments(QStringLiteral("send needs IN.zvx and --port N|PATH|tcp://HOST:PORT|rfc2217://HOST:PORT|tls://HOST:PORT|rfc2217+tls://HOST:PORT|ssh://HOST/PORT"));
    const PortAddress address = PortAddress::parse(port);
    if (!address.isValid())
        return badArguments(QStringLiteral("--port ") + address.error);
    // The port as used, which the transfer log records.
    const QString device = address.toString();

    const auto title = readTitle(input);
    if (!title)
        return 1;
    TitleData &data = *title;

    TransferRecorder recorder(TransferLog(), QStringLiteral("orvex"),
                              [](const QString &note) { error(QStringLiteral("orvex: ") + note); });
    // The tool sends the file as read, never edited.
    const TitleSource source{QFileInfo(input).absoluteFilePath(), false};
    recorder.setTitleSource([source] { return source; });
    LinkTextView view(stdout, ::isatty(STDOUT_FILENO) ? LinkTextView::Mode::Bar : LinkTextView::Mode::Lines);
    view.setOnWriteFinished([&recorder](const TransferRecord &report) { recorder.record(report); });
    LinkSession session(data, device, view);
    // A far write whose end was never seen here: its computer says first
    // what the unit got, so what is sent next rests on that.
    if (!session.settleFarWrite(recorder.log()))
        return 1;
    if (onlyChanged) {
        if (!keepChanged(data, recorder.log(), device, channels))
            return 1;
        if (std::none_of(channels.begin(), channels.end(), [](bool on) { return on; })) {
            QTextStream(stdout) << "nothing to send" << Qt::endl;
            return 0;
        }
    }
    data.KakikomiCh = channels;

    view.setTotalFrames(ChannelFrames::PerChannel * int(std::count(channels.begin(), channels.end(), true)));
    InterruptWatch interrupt([&session] { session.interrupt(); });
    recorder.writeStarting();
    session.engine().KakikomiOn();
    const bool refused = !view.ended && !view.failed && session.engine().isIdle();
    const bool ok = !refused && session.wait();

    const auto &report = session.engine().lastBulkWrite();
    if (report && report->outcome != WriteOutcome::Refused) {
        view.finishLine();
        QTextStream(stdout) << "completed channels: " << listOrNone(report->completedChannels()) << Qt::endl;
        const QList<int> left = report->unfinishedChannels();
        // A far write cut off is known only to the far computer, which
        // --changed asks first.
        if (!ok && !left.isEmpty() && address.isFar() && !report->id.isEmpty())
            error(QStringLiteral("orvex: to finish the job: orvex send %1 --port %2 --changed").arg(input, port));
        else if (!ok && !left.isEmpty())
            error(QStringLiteral("orvex: to finish the job: orvex send %1 --port %2 --channels %3")
                      .arg(input, port, TransferRecord::channelList(left)));
    }
    if (interrupt.interrupted())
        return 130;
    return ok ? 0 : 1;
}
