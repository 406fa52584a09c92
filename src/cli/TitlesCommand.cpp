#include "Commands.h"
#include "RenderOptions.h"
#include "TitleFile.h"
#include "VerbParser.h"

#include "core/TitleData.h"
#include "site/TitlesMake.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// The lines of LIST: UTF-8, a byte-order mark and CR LF line ends allowed.
// Empty when the file could not be read (`why` says why).
std::optional<QStringList> readList(const QString &fileName, QString &why, bool &badText)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        why = QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString());
        return std::nullopt;
    }
    // The list is a handful of captions; a bigger file is not one.
    constexpr qint64 Limit = 1 << 20;
    const QByteArray bytes = file.read(Limit + 1);
    if (bytes.size() > Limit) {
        why = QStringLiteral("%1 is not a list of eight titles (over 1 MiB)").arg(fileName);
        badText = true;
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        why = QStringLiteral("%1 is not UTF-8 text").arg(fileName);
        badText = true;
        return std::nullopt;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.isEmpty() ? QStringList() : text.split(u'\n');
}

} // namespace

int Cli::titles(const QStringList &args)
{
    VerbParser verb(QStringLiteral("titles"), QStringLiteral("Render line n of a list into channel n."));
    verb.addPositional(QStringLiteral("IN.zvx"), QStringLiteral("The title."));
    verb.addPositional(QStringLiteral("LIST.txt"), QStringLiteral("UTF-8, a line a channel; an empty line keeps it."));
    verb.addPositional(QStringLiteral("OUT.zvx"), QStringLiteral("Where to write the title."));
    RenderOptions::addTo(verb);
    if (!verb.parse(args))
        return verb.exitCode();
    RenderOptions options;
    const QStringList positional = verb.positional();
    QString why = options.take(verb);
    if (why.isEmpty() && positional.size() != 3)
        why = QStringLiteral("titles needs IN.zvx LIST.txt OUT.zvx");
    if (!why.isEmpty())
        return badArguments(why);

    bool badText = false;
    const auto lines = readList(positional[1], why, badText);
    if (!lines) {
        error(QStringLiteral("orvex: ") + why);
        return badText ? 2 : 1;
    }
    if (lines->size() > Title::Channels) {
        error(QStringLiteral("orvex: %1 has %2 lines; there are only %3 channels, nothing was written")
                  .arg(positional[1])
                  .arg(lines->size())
                  .arg(Title::Channels));
        return 2;
    }

    std::array<QString, Title::Channels> texts;
    for (int ch = 0; ch < lines->size(); ++ch)
        texts[size_t(ch)] = lines->at(ch);
    const QString in = positional[0] == QLatin1String("-") ? QString() : positional[0];
    const TitlesMake::Settings settings = options.makeSettings();
    const TitlesMake::Outcome outcome = TitlesMake::run(in, texts, settings, positional[2]);
    if (!outcome.notice.isEmpty())
        error(QStringLiteral("orvex: ") + outcome.notice);
    if (!outcome.made.done()) {
        const int line = outcome.made.refusedChannel + 1;
        error(QStringLiteral("orvex: CH%1（%2の%1行目）: ").arg(line).arg(positional[1])
              + textRefused(outcome.made.refused, texts[size_t(outcome.made.refusedChannel)], positional[2]));
        return 2;
    }
    if (!outcome.made.bitmapWritten)
        noteBitmapNotWritten(settings.workFolder);
    if (!outcome.error.isEmpty()) {
        error(QStringLiteral("orvex: ") + outcome.error);
        return 1;
    }
    // Made all the same, as "全チャンネル作成" does; one line per channel.
    for (const QString &cut : outcome.made.cutLines())
        error(QStringLiteral("orvex: warning: ") + cut);
    return 0;
}
