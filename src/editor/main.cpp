#include "editor/EditForm.h"

#include "core/BuildInfo.h"
#include "core/FileSystem.h"
#include "core/TitleData.h"
#include "render/RenderFont.h"
#include "platform/PortChoiceStore.h"
#include "platform/QtLinkPlatform.h"
#include "platform/QtPortDiscovery.h"
#include "platform/FileDialogs.h"
#include "platform/FontDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/QtMessageFilter.h"
#include "platform/QtTranslations.h"

#include <QApplication>
#include <QSettings>
#include <QCommandLineParser>
#include <QTextStream>
#include <QTranslator>

#include <memory>

namespace {

// The data file to open at start, if any.
void addFileArgument(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("開くデータファイル (.zvx)"),
                                 QStringLiteral("[file]"));
}

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
    addFileArgument(parser);
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
    // Before anything of Qt's can speak: routine warnings stay off the
    // terminal, the window says what went wrong itself.
    QtMessageFilter::install();
    QApplication::setOrganizationName(QStringLiteral("orvex"));
    QApplication::setApplicationName(QStringLiteral("orvex-editor"));
    QApplication::setApplicationVersion(QString::fromLatin1(BuildInfo::Version));
    if (answeredInformationOption(argc, argv))
        return 0;
    QApplication app(argc, argv);
    // Before any widget takes a font: titles keep the font name they were
    // made with on the device's home platform, drawn with its free stand-in.
    RenderFont::installSubstitutions();
    // The standard dialogs speak the program's language, not the system's.
    QTranslator qtTexts;
    if (QtTranslations::loadJapanese(qtTexts))
        QApplication::installTranslator(&qtTexts);

    // Qt has taken its own options out of the arguments by now.
    QCommandLineParser parser;
    addFileArgument(parser);
    parser.parse(QApplication::arguments());

    // The one title data of the process; every window works on it directly.
    auto data = std::make_unique<TitleData>();
    QtMessageBoxes messageBoxes;
    QtFileDialogs fileDialogs;
    QtFontDialogs fontDialogs;

    QtLinkPlatform linkPlatform;
    QtPortDiscovery portDiscovery;
    // The port confirmed last, used again at start without asking.
    QSettings settings;
    PortChoiceStore portChoices(settings);

    EditForm form(*data, messageBoxes, fileDialogs, fontDialogs, FileSystem::GetAppPath());
    form.attachLink(linkPlatform, portDiscovery, portChoices);
    // Ending the editor ends the program, whatever else is open.
    QObject::connect(&form, &EditForm::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    form.show();
    // A file that cannot be read is reported over the window, which then
    // stays open and empty.
    if (!parser.positionalArguments().isEmpty())
        form.openAtStart(parser.positionalArguments().constFirst());
    return app.exec();
}
