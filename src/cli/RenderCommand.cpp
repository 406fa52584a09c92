#include "Commands.h"
#include "RenderOptions.h"
#include "TitleFile.h"
#include "VerbParser.h"

#include "core/FileSystem.h"
#include "core/TitleData.h"
#include "core/UserFolders.h"
#include "render/MakeData.h"

int Cli::render(const QStringList &args)
{
    VerbParser verb(QStringLiteral("render"), QStringLiteral("Render a text into one block, as \"データ作成\" does."));
    verb.addPositional(QStringLiteral("IN.zvx"), QStringLiteral("The title (\"-\": an empty one)."));
    verb.addPositional(QStringLiteral("BLOCK"), QStringLiteral("The block, 0..9."));
    verb.addPositional(QStringLiteral("TEXT"), QStringLiteral("The text."));
    verb.addPositional(QStringLiteral("OUT.zvx"), QStringLiteral("Where to write the title."));
    RenderOptions::addTo(verb);
    if (!verb.parse(args))
        return verb.exitCode();
    RenderOptions options;
    const QStringList positional = verb.positional();
    QString why = options.take(verb);
    int block = 0;
    if (why.isEmpty() && positional.size() != 4)
        why = QStringLiteral("render needs IN.zvx BLOCK TEXT OUT.zvx");
    else if (why.isEmpty() && !parseInt(positional[1], 0, Title::Blocks - 1, block))
        why = QStringLiteral("BLOCK must be a number 0..9");
    if (!why.isEmpty())
        return badArguments(why);

    const auto title = readTitleOrEmpty(positional[0]);
    if (!title)
        return 1;

    MakeData::Request request;
    request.text = positional[2];
    request.font = options.font();
    request.edging = options.edging;
    request.topCode = block * Title::BlockSize + 1;
    request.page = block;
    request.selCell = options.cell;
    request.workFolder = UserFolders::forProgram(FileSystem::GetAppPath()).work;

    const MakeData::Result result = MakeData::run(*title, request);
    if (!result.done()) {
        error(QStringLiteral("orvex: ") + textRefused(result.refused, request.text, positional[3]));
        return 1;
    }
    if (!result.bitmapWritten)
        noteBitmapNotWritten(request.workFolder);
    if (!writeTitle(*title, positional[3]))
        return 1;
    // Made all the same, as "データ作成" does; the operator is told once.
    if (!result.cutWarning.isEmpty())
        error(QStringLiteral("orvex: warning: ") + result.cutWarning);
    return 0;
}
