// The protocol to a far computer's engine on its own: lines, the title a
// write carries, the status answer, and the ssh command line that starts
// the far side.

#include "netserial/FarProtocol.h"
#include "netserial/FarWords.h"
#include "netserial/PortAddress.h"
#include "netserial/SshCommand.h"
#include "support/QtPrinters.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QJsonObject parse(const QByteArray &line)
{
    return QJsonDocument::fromJson(line).object();
}

} // namespace

TEST(FarProtocol, HelloNamesTheVersionAndNothingElsePassesForOne)
{
    const QByteArray hello = FarProtocol::hello();
    ASSERT_TRUE(hello.endsWith('\n'));
    EXPECT_EQ(FarProtocol::helloVersion(parse(hello)), FarProtocol::Version);
    const struct
    {
        const char *line;
        std::optional<int> version;
    } cases[] = {
        {R"({"protocol":"orvex-far","version":2})", 2},
        {R"({"protocol":"orvex-far"})", std::nullopt},
        {R"({"protocol":"other","version":1})", std::nullopt},
        {R"({"answer":"message","text":"x"})", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FarProtocol::helloVersion(parse(c.line)), c.version) << c.line;
}

TEST(FarProtocol, AWriteCarriesTheTitleExactlyAsHeld)
{
    TitleData title;
    title.setDefaults();
    title.DotData[26][0] = PixelCode::white();
    title.DotData[26][215] = PixelCode::black();
    title.DotData[27][3] = PixelCode::fromText(u"1");  // a short element a file can hold
    title.DotData[28][4] = PixelCode::fromText(u"x0"); // and an odd one
    title.DotData[29][5] = PixelCode::fromText(u"");
    title.DispData(0, 0, 1) = 26;
    title.DispData(389, 1, 9) = 255;
    std::array<bool, Title::Channels> channels{};
    channels[1] = channels[7] = true;

    const QByteArray line = FarProtocol::writeRequest(QStringLiteral("w-1"), title, channels);
    EXPECT_LT(line.size(), FarProtocol::MaxLine);
    const QJsonObject request = parse(line);
    EXPECT_EQ(request.value(QStringLiteral("op")).toString(), QStringLiteral("write"));
    EXPECT_EQ(request.value(QStringLiteral("id")).toString(), QStringLiteral("w-1"));

    TitleData far;
    far.setDefaults();
    std::array<bool, Title::Channels> farChannels{};
    ASSERT_TRUE(FarProtocol::readWrite(request, far, farChannels));
    EXPECT_EQ(far.DotData, title.DotData);
    EXPECT_EQ(far.DispData, title.DispData);
    EXPECT_EQ(farChannels, channels);

    // A request without a whole title, or with a channel that is none, is no write.
    for (const char *spoil : {"dots", "pages", "channels"}) {
        QJsonObject broken = request;
        broken.insert(QLatin1String(spoil), spoil == QLatin1String("channels") ? QJsonValue(QJsonArray{9}) : QJsonValue(QStringLiteral("AAAA")));
        EXPECT_FALSE(FarProtocol::readWrite(broken, far, farChannels)) << spoil;
    }
}

TEST(FarProtocol, AStatusAnswerIsStatusJsonWithTheGarbledRepliesAndResends)
{
    FarProtocol::StatusAnswer answer;
    UnitStatus &status = answer.status;
    status.channel = 2;
    status.hpos = 8;
    status.vpos = 0;
    status.black = 1;
    status.white = 2;
    for (int input : {1, 3, 4, 6})
        status.showVideoLoss(input, true);
    status.videoLossKnown = true;
    status.garbled = {Cmd::QueryVertical};
    answer.resends = 2;
    const QJsonObject json = answer.toJson();
    EXPECT_EQ(json.value(QStringLiteral("status")).toObject(), status.jsonObject());
    const FarProtocol::StatusAnswer back = FarProtocol::StatusAnswer::fromJson(json);
    EXPECT_EQ(back.status, status);
    EXPECT_EQ(back.status.garbled, status.garbled);
    EXPECT_EQ(back.resends, 2);

    // Unknown values stay unknown rather than becoming zeros.
    const FarProtocol::StatusAnswer unknown = FarProtocol::StatusAnswer::fromJson(FarProtocol::StatusAnswer().toJson());
    EXPECT_EQ(unknown.status, UnitStatus());
    EXPECT_FALSE(unknown.status.videoLossKnown);
}

TEST(FarProtocol, LinesAreReadWholeAndGarbageOrOversizeIsRefused)
{
    using F = FarProtocol::LineReader::Fault;
    const QByteArray huge(FarProtocol::MaxLine + 10, 'a');
    const struct
    {
        const char *name;
        QList<QByteArray> pieces;
        int messages;
        F fault;
    } cases[] = {
        {"one line in pieces", {"{\"answer\":", "\"ended\"", "}\n"}, 1, F::None},
        {"two lines at once", {"{\"a\":1}\n{\"b\":2}\n"}, 2, F::None},
        {"blank lines skipped", {"\n\r\n{\"a\":1}\n"}, 1, F::None},
        {"a line left open", {"{\"a\":1}\n{\"b\":"}, 1, F::None},
        {"garbage, then on", {"Welcome to site3!\n{\"a\":1}\n"}, 1, F::Garbage},
        {"an array is no message", {"[1,2]\n"}, 0, F::Garbage},
        {"too long, never ended", {huge}, 0, F::TooLong},
        {"too long, ended", {huge + "\n{\"a\":1}\n"}, 0, F::TooLong},
    };
    for (const auto &c : cases) {
        FarProtocol::LineReader reader;
        int messages = 0;
        F fault = F::None;
        for (const QByteArray &piece : c.pieces) {
            reader.add(piece);
            for (;;) {
                const auto message = reader.next();
                if (reader.fault() != F::None)
                    fault = reader.fault();
                reader.clearFault();
                if (!message)
                    break;
                ++messages;
            }
        }
        EXPECT_EQ(messages, c.messages) << c.name;
        EXPECT_EQ(fault, c.fault) << c.name;
    }
}

TEST(SshCommand, StartsTheFarSideNonInteractivelyWithOneQuotedCommand)
{
    const PortAddress address = PortAddress::parse(QStringLiteral("ssh://pi@site3:2222/dev/ttyUSB0"));
    const SshCommand command =
        SshCommand::build(address, QStringLiteral("ssh -F '/tmp/my config'"), QStringLiteral("env A=1 /opt/orvex"));
    EXPECT_EQ(command.program, QStringLiteral("ssh"));
    EXPECT_EQ(command.arguments,
              (QStringList{QStringLiteral("-F"), QStringLiteral("/tmp/my config"), QStringLiteral("-T"), QStringLiteral("-o"),
                           QStringLiteral("BatchMode=yes"), QStringLiteral("-o"), QStringLiteral("ServerAliveInterval=5"),
                           QStringLiteral("-o"), QStringLiteral("ServerAliveCountMax=3"), QStringLiteral("-p"),
                           QStringLiteral("2222"), QStringLiteral("-l"), QStringLiteral("pi"), QStringLiteral("--"),
                           QStringLiteral("site3"),
                           QStringLiteral("'env' 'A=1' '/opt/orvex' 'serve' '--stdio' '--port' '/dev/ttyUSB0'")}));
    const SshCommand plain = SshCommand::build(PortAddress::parse(QStringLiteral("ssh://site3/dev/ttyS0")), {}, {});
    EXPECT_EQ(plain.program, QStringLiteral("ssh"));
    EXPECT_EQ(plain.arguments.last(), QStringLiteral("'orvex' 'serve' '--stdio' '--port' '/dev/ttyS0'"));
    EXPECT_FALSE(plain.arguments.contains(QStringLiteral("-p")));
}

TEST(SshCommand, SplitsOrvexSshAsAShellSplitsWordsWithoutExpandingAnything)
{
    const struct
    {
        const char *text;
        QStringList words;
    } cases[] = {
        {"ssh", {"ssh"}},
        {"  ssh   -F  cfg ", {"ssh", "-F", "cfg"}},
        {"ssh -F '/tmp/my config'", {"ssh", "-F", "/tmp/my config"}},
        {"ssh -F \"/tmp/a \\\"b\\\"\"", {"ssh", "-F", "/tmp/a \"b\""}},
        {"ssh -o ProxyCommand=a\\ b", {"ssh", "-o", "ProxyCommand=a b"}},
        {"ssh $HOME `id` $(id)", {"ssh", "$HOME", "`id`", "$(id)"}},
        {"ssh 'it'\\''s'", {"ssh", "it's"}},
        {"ssh ''", {"ssh", ""}},
        {"ssh 'open", {}},
        {"ssh \"open", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SshCommand::splitWords(QString::fromUtf8(c.text)), c.words) << c.text;
}

TEST(SshCommand, APortNameWithShellWordsReachesTheFarShellAsOneWordAndRunsNothing)
{
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("ran"));
    const QStringList names{
        QStringLiteral("/dev/a;touch ") + marker,
        QStringLiteral("/dev/$(touch ") + marker + u')',
        QStringLiteral("/dev/`touch ") + marker + u'`',
        QStringLiteral("/dev/it's \"here\" && touch ") + marker,
        QStringLiteral("/dev/a b\tc\nd | touch ") + marker,
        QStringLiteral("/dev/'$HOME'\\"),
    };
    for (const QString &name : names) {
        QProcess shell;
        shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("printf '%s' ") + SshCommand::quoteWord(name)});
        ASSERT_TRUE(shell.waitForFinished(10000));
        EXPECT_EQ(QString::fromUtf8(shell.readAllStandardOutput()), name);
        EXPECT_FALSE(QFileInfo::exists(marker)) << qPrintable(name);
    }
}

TEST(FarWords, EachWayOfNotStartingHasItsOwnSentenceAndSshsWords)
{
    const struct
    {
        int exit;
        const char *said;
        const char *sentence;
    } cases[] = {
        {255, "Host key verification failed.", "ホスト鍵"},
        {255, "@ WARNING: REMOTE HOST IDENTIFICATION HAS CHANGED! @", "ホスト鍵"},
        {255, "pi@site3: Permission denied (publickey).", "鍵を受け付けません"},
        {255, "ssh: connect to host site3 port 22: Connection refused", "接続できません"},
        {255, "ssh: Could not resolve hostname site3: Name or service not known", "接続できません"},
        {127, "sh: 1: orvex: not found", "orvex が見つかりません"},
        {2, "orvex: unknown command \"serve\"", "古く"},
        {-1, "execvp: No such file or directory", "ssh を起動できません"},
        {1, "", "終了コード 1"},
    };
    for (const auto &c : cases) {
        const QString text = FarWords::startFailed(QStringLiteral("site3"), c.exit, QString::fromUtf8(c.said));
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.sentence))) << qPrintable(text);
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.said))) << qPrintable(text);
    }
}
