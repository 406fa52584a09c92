#include "editor/EditForm.h"

#include "core/TitleData.h"
#include "render/RenderFont.h"
#include "link/ui/QtLinkPlatform.h"
#include "platform/FileDialogs.h"
#include "platform/FontDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/QtTranslations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTranslator>

#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("orvex"));
    QApplication::setApplicationName(QStringLiteral("orvex-editor"));
    // Before any widget takes a font: titles keep the font name they were
    // made with on the device's home platform, drawn with its free stand-in.
    RenderFont::installSubstitutions();
    // The standard dialogs speak the program's language, not the system's.
    QTranslator qtTexts;
    if (QtTranslations::loadJapanese(qtTexts))
        QApplication::installTranslator(&qtTexts);

    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("開くデータファイル (.zvx)"),
                                 QStringLiteral("[file]"));
    parser.process(app);

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
    // After show, so that a file that cannot be read is reported over the
    // window, which then stays open and empty.
    if (!parser.positionalArguments().isEmpty())
        form.openDataFile(parser.positionalArguments().constFirst());
    return app.exec();
}
