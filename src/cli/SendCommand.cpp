#include "Commands.h"
#include "LinkSession.h"
#include "TitleFile.h"
#include "platform/SerialPortNames.h"

#include <unistd.h>

namespace {

constexpr int FramesPerChannel = 43;

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

} // namespace

int Cli::send(const QStringList &args)
{
    QString input, port;
    std::array<bool, Title::Channels> channels;
    channels.fill(true); // as "全チャンネルデータ送信"
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--port") && i + 1 < args.size()) {
            port = args[++i];
        } else if (a == QLatin1String("--channels") && i + 1 < args.size()) {
            if (!parseChannels(args[++i], channels))
                return badArguments(QStringLiteral("--channels takes channel numbers 1..8 such as 1,3,8"));
        } else if (a.startsWith(QLatin1String("--")) || !input.isEmpty()) {
            return badArguments(QStringLiteral("send: unexpected \"%1\"").arg(a));
        } else {
            input = a;
        }
    }
    if (input.isEmpty() || port.isEmpty())
        return badArguments(QStringLiteral("send needs IN.zvx and --port N|PATH"));
    const QString device = SerialPortNames::deviceForArgument(port);
    if (device.isEmpty())
        return badArguments(QStringLiteral("--port takes 1..8 or a device path"));

    const auto title = readTitle(input);
    if (!title)
        return 1;
    TitleData &data = *title;
    data.KakikomiCh = channels;

    LinkTextView view(stdout, ::isatty(STDOUT_FILENO) ? LinkTextView::Mode::Bar : LinkTextView::Mode::Lines);
    view.setTotalFrames(FramesPerChannel * int(std::count(channels.begin(), channels.end(), true)));
    LinkSession session(data, device, view);
    session.engine().KakikomiOn();
    if (!view.ended && !view.failed && session.engine().state().StepNo == 0)
        return 1; // refused: the warning has said why
    return session.wait() ? 0 : 1;
}
