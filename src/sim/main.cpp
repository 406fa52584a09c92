// orvex-sim: the 8-channel title generator on a pseudo-terminal, for tests,
// demonstrations and operators without the hardware.

#include "PseudoTerminal.h"
#include "SimOptions.h"
#include "SimServer.h"

#include "core/BuildInfo.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int number)
{
    const char byte = char(number);
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        QTextStream(stdout) << SimOptions::usage();
        return 0;
    }
    if (args.contains(QStringLiteral("--version"))) {
        QTextStream(stdout) << "orvex-sim " << BuildInfo::Version << "\n";
        return 0;
    }
    SimOptions options;
    QString error;
    if (!options.parse(args, error)) {
        QTextStream(stderr) << "orvex-sim: " << error << "\n" << SimOptions::usage();
        return 2;
    }

    PseudoTerminal pty;
    if (!pty.open(error) || (!options.link.isEmpty() && !pty.link(options.link, error))) {
        QTextStream(stderr) << "orvex-sim: " << error << "\n";
        return 1;
    }

    // A terminating signal ends the event loop so the state file is written
    // and the symlink removed.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
        QTextStream(stderr) << "orvex-sim: cannot set up signal handling\n";
        return 1;
    }
    SimServer server(pty.masterFd(), options);
    // SIGUSR1 is the one change from outside: input 1's video goes or comes back.
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [&server] {
        char number = 0;
        if (::read(signalPipe[0], &number, 1) == 1 && number == SIGUSR1)
            server.toggleFirstInputVideo();
        else
            QCoreApplication::quit();
    });
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    std::signal(SIGHUP, onSignal);
    std::signal(SIGUSR1, onSignal);

    // The first line is the device path: scripts and tests read it.
    std::fprintf(stdout, "%s\n", qPrintable(pty.devicePath()));
    std::fflush(stdout);

    const int code = app.exec();
    server.writeState();
    return code;
}
