#include "Commands.h"
#include "LinkSession.h"
#include "TitleFile.h"
#include "link/LevelNames.h"
#include "link/LinkState.h"
#include "netserial/PortAddress.h"

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

QString number(const std::optional<int> &value, const QString &unknown)
{
    return value ? QString::number(*value) : unknown;
}

void printJson(QTextStream &out, const LinkTextView &view)
{
    QStringList inputs;
    for (int input : lostInputs(view))
        inputs << QString::number(input);
    const QString null = QStringLiteral("null");
    out << "{\"channel\": " << (view.channel >= 0 ? QString::number(view.channel + 1) : null)
        << ", \"hpos\": " << number(view.hpos, null) << ", \"vpos\": " << number(view.vpos, null)
        << ", \"black\": " << jsonText(levelName(LevelNames::black(), view.black))
        << ", \"white\": " << jsonText(levelName(LevelNames::white(), view.white)) << ", \"video_loss\": "
        << (view.videoLossKnown ? QStringLiteral("[%1]").arg(inputs.join(QStringLiteral(", "))) : null) << "}"
        << Qt::endl;
}

void printText(QTextStream &out, const LinkTextView &view)
{
    QStringList inputs;
    for (int input : lostInputs(view))
        inputs << QString::number(input);
    const QString unknown = QStringLiteral("unknown");
    const QString black = levelName(LevelNames::black(), view.black);
    const QString white = levelName(LevelNames::white(), view.white);
    out << "active channel:      " << (view.channel >= 0 ? QStringLiteral("CH%1").arg(view.channel + 1) : unknown)
        << '\n'
        << "horizontal position: " << number(view.hpos, unknown) << '\n'
        << "vertical position:   " << number(view.vpos, unknown) << '\n'
        << "black level:         " << (black.isEmpty() ? unknown : black) << '\n'
        << "white level:         " << (white.isEmpty() ? unknown : white) << '\n'
        << "video loss:          "
        << (!view.videoLossKnown ? unknown
            : inputs.isEmpty()   ? QStringLiteral("none")
                                 : inputs.join(QStringLiteral(", ")))
        << Qt::endl;
}

QString queryName(Cmd cmdKind)
{
    switch (cmdKind) {
    case Cmd::QueryChannel: return QStringLiteral("CS?");
    case Cmd::QueryHorizontal: return QStringLiteral("HP?");
    case Cmd::QueryVertical: return QStringLiteral("VP?");
    case Cmd::QueryLevels: return QStringLiteral("BS01,?");
    default: return QStringLiteral("VL");
    }
}

// Why the values printed may not be the device's; empty when they are.
// The protocol pairs a reply with its question by its length alone, so
// after a resend a late reply can answer the next question.
QStringList doubts(const LinkTextView &view, int resends)
{
    QStringList why;
    if (resends > 0)
        why << QStringLiteral("orvex: %1 question(s) went unanswered in time and were asked again; a late reply "
                              "can pass for the answer to the next question, so the values may be wrong")
                   .arg(resends);
    for (Cmd kind : view.garbled)
        why << QStringLiteral("orvex: the reply to %1 held a value the device cannot report; it is shown as unknown")
                   .arg(queryName(kind));
    return why;
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
        return badArguments(QStringLiteral("status needs --port N|PATH|tcp://HOST:PORT|rfc2217://HOST:PORT"));
    const PortAddress address = PortAddress::parse(port);
    if (!address.isValid())
        return badArguments(QStringLiteral("--port ") + address.error);

    const auto data = startTitle();
    // The poll's messages are of no interest here; only its results are.
    LinkTextView view(stderr, LinkTextView::Mode::Quiet);
    LinkSession session(*data, address.toString(), view);
    session.engine().SerDataSet(Request::StatusPoll);
    if (!session.wait())
        return 1;

    QTextStream out(stdout);
    if (json)
        printJson(out, view);
    else
        printText(out, view);
    const QStringList why = doubts(view, session.engine().state().RetryCount);
    for (const QString &line : why)
        error(line);
    return why.isEmpty() ? 0 : 3;
}
