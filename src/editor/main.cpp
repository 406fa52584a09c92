#include "editor/EditForm.h"

#include "core/BuildInfo.h"
#include "core/TitleData.h"
#include "render/RenderFont.h"
#include "link/ui/QtLinkPlatform.h"
#include "platform/FileDialogs.h"
#include "platform/FontDialogs.h"
#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

#include <memory>

namespace {

// Answers --help and --version before any window system is touched, so that
// they work without a display (help2man runs them while building). Returns
// true when the program should end; other arguments are left to Qt.
bool answeredInformationOption(int argc, char **argv)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Edit titles for the 8-channel Orvex title generator and send them to the device."));
    // "-reverse" and the like are Qt's options, not bundles of short ones.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Not addHelpOption(): its --help-all would need an application object.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help and exits."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    parser.parse(args);
    if (parser.isSet(help)) {
        // Without an application object Qt cannot know the program's name.
        QTextStream(stdout) << parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                         QCoreApplication::applicationName());
        return true;
    }
    if (parser.isSet(version)) {
        QTextStream(stdout) << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
                            << '\n';
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication::setApplicationName(QStringLiteral("orvex-editor"));
    QApplication::setApplicationVersion(QString::fromLatin1(BuildInfo::Version));
    if (answeredInformationOption(argc, argv))
        return 0;
    QApplication app(argc, argv);
    // Before any widget takes a font: titles keep the font name they were
    // made with on the device's home platform, drawn with its free stand-in.
    RenderFont::installSubstitutions();

    // The one title data of the process; every window works on it directly.
    auto data = std::make_unique<TitleData>();
    QtMessageBoxes messageBoxes;
    QtFileDialogs fileDialogs;
    QtFontDialogs fontDialogs;

    QtLinkPlatform linkPlatform;

    EditForm form(*data, messageBoxes, fileDialogs, fontDialogs);
    form.attachLink(linkPlatform);
    // Ending the editor ends the program, whatever else is open.
    QObject::connect(&form, &EditForm::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    form.show();
    return app.exec();
}
