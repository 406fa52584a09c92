#include "Commands.h"

#include "core/BuildInfo.h"
#include "platform/QtMessageFilter.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <QTime>

#include <functional>
#include <map>

namespace Cli {

void error(const QString &text)
{
    QTextStream(stderr) << text << Qt::endl;
}

void watchNote(const QString &text, bool json)
{
    if (json)
        error(QStringLiteral("orvex: ") + text);
    else
        QTextStream(stdout) << QTime::currentTime().toString(QStringLiteral("HH:mm:ss ")) << text << Qt::endl;
}

void usage()
{
    QTextStream out(stdout);
    out << "usage: orvex <command> [arguments]\n"
           "\n"
           "Commands:\n"
           "  resave IN.zvx OUT.zvx        read IN and write it again as OUT\n"
           "  sheet IN.zvx OUT.png         draw all 256 characters, 16 per row\n"
           "  page IN.zvx PAGE OUT.png [--bars]\n"
           "                               draw screen page PAGE (0..9), over colour bars\n"
           "                               with --bars\n"
           "  import-sheet IN.zvx SHEET.png OUT.zvx\n"
           "                               replace all 256 characters with those of a sheet\n"
           "                               laid out as \"sheet\" draws it (192 x 288 or a\n"
           "                               whole multiple)\n"
           "  import-block IN.zvx BLOCK STRIP.png OUT.zvx\n"
           "                               replace the 25 characters of block BLOCK (0..9)\n"
           "                               with a strip of 300 x 18 or a whole multiple\n"
           "  render IN.zvx BLOCK TEXT OUT.zvx [--font NAME] [--size PT] [--bold]\n"
           "         [--no-edge] [--cell N]  render TEXT into block BLOCK (IN may be \"-\")\n"
           "  titles IN.zvx LIST.txt OUT.zvx [--font NAME] [--size PT] [--bold]\n"
           "         [--no-edge] [--cell N]  render line n of LIST (UTF-8) into channel n;\n"
           "                               an empty line keeps the channel\n"
           "  send IN.zvx --port PORT [--channels 1,3,8] [--changed]\n"
           "                               write the title to the device; --changed: only\n"
           "                               the channels whose frames differ from the last\n"
           "                               complete write to that port from this computer\n"
           "  status --port PORT [--json] [--watch]\n"
           "                               poll the device once; --watch: poll every 2 s\n"
           "                               on one connection and print a line for each\n"
           "                               change (--json: one object a line) until Ctrl+C\n"
           "                               (exit 130) or SIGTERM (exit 143); 1 when the\n"
           "                               port fails or the device stops answering\n"
           "  log [--json]                 the transfer log, newest first\n"
           "  ports [--json]               list the serial ports present\n"
           "  trust ADDRESS [--yes] [--ca FILE] [--cert FILE --key FILE] [--forget]\n"
           "                               connect to a TLS server, print its certificate\n"
           "                               (subject, issuer, validity, SHA-256 fingerprint)\n"
           "                               and whether it is trusted; --yes pins it for\n"
           "                               ADDRESS, --ca trusts what that CA signed for it,\n"
           "                               --cert/--key name the client certificate shown\n"
           "                               to it, --forget removes what was kept\n"
           "  site make SCHEDULE.csv FOLDER [--font NAME] [--size PT] [--bold]\n"
           "         [--no-edge] [--cell N]  make FOLDER/<unit>.zvx for every unit of the\n"
           "                               camera schedule, as titles does\n"
           "  site send SCHEDULE.csv FOLDER [--units A,B] [--changed]\n"
           "                               write every unit at once, each to its address\n"
           "  site status SCHEDULE.csv [--json] [--watch]\n"
           "                               poll every unit at once; --watch every 2 s\n"
           "\n"
           "PORT is a port number 1..8 (the device ORVEX_COM<n> names, else the n-th\n"
           "serial port), a device such as /dev/ttyUSB0 or a /dev/serial/by-id name,\n"
           "tcp://HOST:PORT for a network serial server's raw TCP port,\n"
           "rfc2217://HOST:PORT for its telnet port with RFC 2217, which sets the\n"
           "far serial port to 9600 baud 8N1 (an IPv6 host goes in brackets);\n"
           "tls://HOST:PORT and rfc2217+tls://HOST:PORT are the same inside TLS 1.2 or\n"
           "newer, to a server whose certificate a trusted CA signed for HOST or that\n"
           "\"orvex trust\" pinned (kept in ~/.config/orvex/tls-trust.json); or\n"
           "ssh://[USER@]HOST[:PORT]/PORT-THERE to run the link on the computer\n"
           "beside the unit through your own ssh (ORVEX_SSH names another ssh\n"
           "command, ORVEX_REMOTE_PROGRAM the far program when it is not orvex).\n"
           "\n"
           "  serve --stdio --port PORT\n"
           "                               the far side of an ssh:// port (ssh starts it)\n"
           "  orvex COMMAND --help         the options of one command\n"
           "  orvex --help                 this text\n"
           "  orvex --version              the version\n";
}

int badArguments(const QString &why)
{
    // The whole help would push the reason off the screen; the help is
    // English, so the pointer to it is too.
    error(QStringLiteral("orvex: ") + why);
    error(QStringLiteral("Try 'orvex --help' for more information."));
    return 2;
}

bool parseInt(const QString &text, int low, int high, int &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= low && value <= high;
}

} // namespace Cli

int main(int argc, char **argv)
{
    // Qt's own warnings (a missing XDG_RUNTIME_DIR outside a desktop session,
    // an image plug-in's complaint) would come before the tool's message and
    // say less; the tool says what went wrong itself.
    QtMessageFilter::install();
    // Rendering needs a QGuiApplication, which needs a platform: without a
    // display the tool draws offscreen.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);

    if (args.isEmpty())
        return Cli::badArguments(QStringLiteral("no command given"));
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        Cli::usage();
        return 0;
    }
    if (command == QLatin1String("--version")) {
        QTextStream(stdout) << "orvex " << BuildInfo::Version << Qt::endl;
        return 0;
    }

    const std::map<QString, std::function<int(const QStringList &)>> commands = {
        {QStringLiteral("resave"), Cli::resave}, {QStringLiteral("sheet"), Cli::sheet},
        {QStringLiteral("page"), Cli::page},     {QStringLiteral("render"), Cli::render},
        {QStringLiteral("titles"), Cli::titles},
        {QStringLiteral("send"), Cli::send},     {QStringLiteral("status"), Cli::status},
        {QStringLiteral("log"), Cli::log},
        {QStringLiteral("ports"), Cli::ports},
        {QStringLiteral("trust"), Cli::trust},
        {QStringLiteral("site"), Cli::site},
        {QStringLiteral("serve"), Cli::serve},
        {QStringLiteral("import-sheet"), Cli::importSheet},
        {QStringLiteral("import-block"), Cli::importBlock},
    };
    const auto it = commands.find(command);
    if (it == commands.end())
        return Cli::badArguments(QStringLiteral("unknown command \"%1\"").arg(command));
    return it->second(args);
}
