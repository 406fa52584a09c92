#include "Commands.h"
#include "InterruptWatch.h"
#include "LinkSession.h"
#include "StatusText.h"
#include "TitleFile.h"
#include "VerbParser.h"
#include "link/LinkState.h"
#include "netserial/PortAddress.h"

#include <QEventLoop>
#include <QTextStream>
#include <QTime>

#include <algorithm>
#include <optional>

namespace {

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
QStringList doubts(const QList<Cmd> &garbled, int resends)
{
    QStringList why;
    if (resends > 0)
        why << QStringLiteral("orvex: %1 question(s) went unanswered in time and were asked again; a late reply "
                              "can pass for the answer to the next question, so the values may be wrong")
                   .arg(resends);
    for (Cmd kind : garbled)
        why << QStringLiteral("orvex: the reply to %1 held a value the device cannot report; it is shown as unknown")
                   .arg(queryName(kind));
    return why;
}

// Polls as the communication window does, every two seconds on the
// engine's own timer, and prints the device's state whenever it differs
// from the last one printed. A network port stays connected between polls
// because the engine keeps it so; nothing here closes it. Runs until a
// signal (its shell exit status: 130 Ctrl+C, 143 SIGTERM) or until the
// engine gives up (1, its reason already on stderr).
int watch(LinkSession &session, LinkTextView &view, bool json)
{
    QTextStream out(stdout);
    std::optional<UnitStatus> shown;
    int resendsSeen = 0;
    QEventLoop loop;
    view.setOnDone([&] {
        if (view.failed) {
            loop.quit();
            return;
        }
        const UnitStatus now = view.status;
        if (now != shown) {
            out << (json ? now.json()
                         : QTime::currentTime().toString(QStringLiteral("HH:mm:ss ")) + StatusText::line(now))
                << Qt::endl;
            shown = now;
        }
        const int resends = session.engine().retryCount();
        for (const QString &line : doubts(view.status.garbled, std::max(0, resends - resendsSeen)))
            Cli::error(line);
        resendsSeen = std::max(resendsSeen, resends);
        view.clearStatus();
    });
    InterruptWatch interrupt([&] {
        session.engine().abandonOperation();
        loop.quit();
    });
    session.engine().SerDataSet(Request::StatusPoll);
    // An open that fails at once has ended the watch before the loop runs.
    if (!view.failed)
        loop.exec();
    view.setOnDone({});
    return interrupt.interrupted() ? interrupt.exitCode() : 1;
}

} // namespace

int Cli::status(const QStringList &args)
{
    VerbParser verb(QStringLiteral("status"), QStringLiteral("Poll the device and print what it reports."));
    verb.addValue(QStringLiteral("port"), QStringLiteral("PORT"),
                  QStringLiteral("1..8, a device, tcp://HOST:PORT or rfc2217://HOST:PORT."));
    verb.addFlag(QStringLiteral("json"), QStringLiteral("One JSON object a poll."));
    verb.addFlag(QStringLiteral("watch"), QStringLiteral("Poll every 2 s and print each change, until Ctrl+C."));
    if (!verb.parse(args))
        return verb.exitCode();
    if (!verb.positional().isEmpty())
        return badArguments(QStringLiteral("status: unexpected \"%1\"").arg(verb.positional().first()));
    const QString port = verb.value(QStringLiteral("port"));
    const bool json = verb.isSet(QStringLiteral("json"));
    const bool watching = verb.isSet(QStringLiteral("watch"));
    if (port.isEmpty())
        return badArguments(QStringLiteral("status needs --port N|PATH|tcp://HOST:PORT|rfc2217://HOST:PORT|ssh://HOST/PORT"));
    const PortAddress address = PortAddress::parse(port);
    if (!address.isValid())
        return badArguments(QStringLiteral("--port ") + address.error);

    const auto data = startTitle();
    // The poll's messages are of no interest here; only its results are.
    LinkTextView view(stderr, LinkTextView::Mode::Quiet);
    LinkSession session(*data, address.toString(), view);
    if (watching)
        return watch(session, view, json);

    session.engine().SerDataSet(Request::StatusPoll);
    if (!session.wait())
        return 1;

    const UnitStatus &status = view.status;
    QTextStream(stdout) << (json ? status.json() + QLatin1Char('\n') : StatusText::table(status)) << Qt::flush;
    const QStringList why = doubts(view.status.garbled, session.engine().retryCount());
    for (const QString &line : why)
        error(line);
    return why.isEmpty() ? 0 : 3;
}
