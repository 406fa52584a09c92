#include "Commands.h"
#include "LinkSession.h"
#include "core/TitleData.h"
#include "link/LevelNames.h"
#include "link/LinkState.h"
#include "platform/SerialPortNames.h"

#include <QTextStream>

namespace {

QString levelName(const QStringList &names, int index)
{
    return index >= 0 && index < names.size() ? names[index] : QString();
}

QList<int> lostInputs(const LinkTextView &view)
{
    QList<int> inputs;
    for (int i = 0; i < int(view.videoLoss.size()); ++i) {
        if (view.videoLoss[i])
            inputs << i + 1;
    }
    return inputs;
}

QString jsonText(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("null") : QLatin1Char('"') + text + QLatin1Char('"');
}

void printJson(QTextStream &out, const LinkTextView &view)
{
    QStringList inputs;
    for (int input : lostInputs(view))
        inputs << QString::number(input);
    out << "{\"channel\": " << (view.channel >= 0 ? QString::number(view.channel + 1) : QStringLiteral("null"))
        << ", \"hpos\": " << view.hpos << ", \"vpos\": " << view.vpos
        << ", \"black\": " << jsonText(levelName(LevelNames::black(), view.black))
        << ", \"white\": " << jsonText(levelName(LevelNames::white(), view.white)) << ", \"video_loss\": ["
        << inputs.join(QStringLiteral(", ")) << "]}" << Qt::endl;
}

void printText(QTextStream &out, const LinkTextView &view)
{
    QStringList inputs;
    for (int input : lostInputs(view))
        inputs << QString::number(input);
    out << "active channel:      "
        << (view.channel >= 0 ? QStringLiteral("CH%1").arg(view.channel + 1) : QStringLiteral("unknown")) << '\n'
        << "horizontal position: " << view.hpos << '\n'
        << "vertical position:   " << view.vpos << '\n'
        << "black level:         " << levelName(LevelNames::black(), view.black) << '\n'
        << "white level:         " << levelName(LevelNames::white(), view.white) << '\n'
        << "video loss:          " << (inputs.isEmpty() ? QStringLiteral("none") : inputs.join(QStringLiteral(", ")))
        << Qt::endl;
}

} // namespace

int Cli::status(const QStringList &args)
{
    QString port;
    bool json = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--port") && i + 1 < args.size())
            port = args[++i];
        else if (args[i] == QLatin1String("--json"))
            json = true;
        else
            return badArguments(QStringLiteral("status: unexpected \"%1\"").arg(args[i]));
    }
    if (port.isEmpty())
        return badArguments(QStringLiteral("status needs --port N|PATH"));
    const QString device = SerialPortNames::deviceForArgument(port);
    if (device.isEmpty())
        return badArguments(QStringLiteral("--port takes 1..8 or a device path"));

    TitleData data;
    data.setDefaults();
    // The poll's messages are of no interest here; only its results are.
    LinkTextView view(stderr, LinkTextView::Mode::Quiet);
    LinkSession session(data, device, view);
    session.engine().SerDataSet(Request::StatusPoll);
    if (!session.wait())
        return 1;

    QTextStream out(stdout);
    if (json)
        printJson(out, view);
    else
        printText(out, view);
    return 0;
}
