#include "Commands.h"
#include "InterruptWatch.h"
#include "LinkSession.h"
#include "StatusText.h"
#include "TitleFile.h"
#include "VerbParser.h"
#include "link/LinkMessages.h"
#include "link/LinkState.h"
#include "link/ReconnectDelay.h"
#include "netserial/PortAddress.h"

#include <QEventLoop>
#include <QTextStream>
#include <QTime>
#include <QTimer>

#include <algorithm>
#include <memory>
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

// A warning of one connection is held: the one that ends it is the reason
// in the line saying the unit is lost (said once, not per try); one the poll
// lives through (a line error) is printed once the poll has ended.
class WatchView : public LinkTextView
{
public:
    WatchView() : LinkTextView(stderr, Mode::Quiet) {}
    void showWarning(const QString &title, const QString &text) override
    {
        m_title = title;
        warning = text;
    }
    void printWarning()
    {
        if (!warning.isEmpty())
            LinkTextView::showWarning(m_title, warning);
        warning.clear();
    }
    QString warning;

private:
    QString m_title;
};

// Polls as the communication window does, every two seconds on the
// engine's own timer, and prints the device's state whenever it differs
// from the last one printed. A network port stays connected between polls
// because the engine keeps it so; nothing here closes it. When the engine
// gives up (a server restarting, a cable out) the unit is lost: one line
// says so, a fresh session asks again after ReconnectDelay's back-off, and
// one line says when it is back. Runs until a signal (its shell exit
// status: 130 Ctrl+C, 143 SIGTERM).
int watch(TitleData &data, const QString &address, bool json)
{
    QTextStream out(stdout);
    std::optional<UnitStatus> shown;
    int resendsSeen = 0;
    bool lost = false;
    ReconnectDelay delay;
    std::unique_ptr<WatchView> view;
    std::unique_ptr<LinkSession> session;
    QTimer again;
    again.setSingleShot(true);
    QEventLoop loop;
    const auto polled = [&] {
        if (view->failed) {
            if (again.isActive())
                return; // the same end, heard twice
            if (!lost)
                Cli::watchNote(LinkMessages::unitLost(address, view->warning), json);
            lost = true;
            // The session is still on the stack; the next try replaces it.
            again.start(delay.next());
            return;
        }
        view->printWarning();
        if (lost)
            Cli::watchNote(LinkMessages::unitBack(address), json);
        lost = false;
        delay.reset();
        const UnitStatus now = view->status;
        if (now != shown) {
            out << (json ? now.json()
                         : QTime::currentTime().toString(QStringLiteral("HH:mm:ss ")) + StatusText::line(now))
                << Qt::endl;
            shown = now;
        }
        const int resends = session->engine().retryCount();
        for (const QString &line : doubts(view->status.garbled, std::max(0, resends - resendsSeen)))
            Cli::error(line);
        resendsSeen = std::max(resendsSeen, resends);
        view->clearStatus();
    };
    const auto connectOnce = [&] {
        session.reset();
        view = std::make_unique<WatchView>();
        view->setOnDone(polled);
        session = std::make_unique<LinkSession>(data, address, *view);
        resendsSeen = 0;
        session->engine().SerDataSet(Request::StatusPoll);
    };
    QObject::connect(&again, &QTimer::timeout, connectOnce);
    InterruptWatch interrupt([&] {
        again.stop();
        if (session)
            session->engine().abandonOperation();
        loop.quit();
    });
    connectOnce();
    loop.exec();
    session.reset();
    return interrupt.exitCode();
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
        return badArguments(QStringLiteral("status needs --port N|PATH|tcp://HOST:PORT|rfc2217://HOST:PORT|tls://HOST:PORT|rfc2217+tls://HOST:PORT|ssh://HOST/PORT"));
    const PortAddress address = PortAddress::parse(port);
    if (!address.isValid())
        return badArguments(QStringLiteral("--port ") + address.error);

    const auto data = startTitle();
    if (watching)
        return watch(*data, address.toString(), json);
    // The poll's messages are of no interest here; only its results are.
    LinkTextView view(stderr, LinkTextView::Mode::Quiet);
    LinkSession session(*data, address.toString(), view);

    session.engine().SerDataSet(Request::StatusPoll);
    if (!session.wait())
        return 1;

    const UnitStatus &status = view.status;
    QTextStream(stdout) << (json ? status.json() + QLatin1Char('\n') : StatusText::table(status)) << Qt::flush;
    const QStringList why = doubts(view.status.garbled, session.engine().retryCount());
    for (const QString &line : why)
        error(line);
    // A poll whose answers were not clean printed nothing known; its
    // reason is on stderr already.
    return why.isEmpty() && !view.unclean ? 0 : 3;
}
