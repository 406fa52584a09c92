#include "support/FifoUnblocker.h"
#include "support/QtPrinters.h"

#include "core/BuildInfo.h"
#include "core/ZvxTestData.h"
#include "core/ZvxWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

namespace {

struct ToolRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs a built program (its path below the build folder) as a script would:
// outside a desktop session, and with `withoutDisplay` not even an X server.
ToolRun runProgram(const QString &program, const QStringList &args, bool withoutDisplay = false)
{
    QProcess process;
    process.setProgram(qEnvironmentVariable("ORVEX_BUILD_DIR") + program);
    process.setArguments(args);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    if (withoutDisplay) {
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
    }
    process.setProcessEnvironment(env);
    process.start();
    ToolRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

ToolRun orvex(const QStringList &args)
{
    return runProgram(QStringLiteral("/src/cli/orvex"), args);
}

// A PNG whose header claims 20000 x 20000 pixels, with a few bytes of picture data.
QByteArray hugePngHeader()
{
    return QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200004e2000004e2008020000006c12d16e"
                               "0000000b49444154789c63604005000010000139bd8f650000000049454e44ae426082");
}

QByteArray contents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Cli : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("ORVEX_BUILD_DIR"));
        title = makeVariedTitle();
        ASSERT_TRUE(ZvxWriter::writeFile(path("in.zvx"), *title).ok);
    }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    std::unique_ptr<TitleData> title;
};

} // namespace

TEST_F(Cli, ResaveOfAWrittenFileIsByteIdentical)
{
    const ToolRun run = orvex({QStringLiteral("resave"), path("in.zvx"), path("out.zvx")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_EQ(contents(path("out.zvx")), contents(path("in.zvx")));
}

TEST_F(Cli, ResaveStartsFromTheEditorDefaults)
{
    QFile shortFile(path("short.zvx"));
    ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
    shortFile.write("ZelkoVXData\r\nA!B\r\n");
    shortFile.close();
    EXPECT_EQ(orvex({QStringLiteral("resave"), path("short.zvx"), path("out.zvx")}).exitCode, 0);

    TitleData expected;
    expected.setDefaults();
    expected.ChText[0] = QStringLiteral("A B");
    EXPECT_EQ(contents(path("out.zvx")), ZvxWriter::serialize(expected));
}

TEST_F(Cli, ReadErrorsSayWhyAndCreateNothing)
{
    // Valid up to a screen number that rounds below zero.
    TitleData blank;
    blank.setDefaults();
    QByteArray bad = ZvxWriter::serialize(blank);
    bad.replace(bad.indexOf("0,0,0,0"), 7, "0,0,-7,0");
    QFile badFile(path("bad.zvx"));
    ASSERT_TRUE(badFile.open(QIODevice::WriteOnly));
    badFile.write(bad);
    badFile.close();

    for (const char *input : {"missing.zvx", "bad.zvx"}) {
        for (const QString &command : {QStringLiteral("resave"), QStringLiteral("sheet")}) {
            const ToolRun run = orvex({command, path(input), path("out")});
            EXPECT_EQ(run.exitCode, 1) << input;
            EXPECT_FALSE(run.err.isEmpty()) << input;
            EXPECT_FALSE(run.err.contains(QStringLiteral("XDG_RUNTIME_DIR")));
            EXPECT_FALSE(QFile::exists(path("out"))) << input;
        }
    }
}

TEST_F(Cli, SheetAndPageDrawOnePixelPerDot)
{
    ASSERT_EQ(orvex({QStringLiteral("sheet"), path("in.zvx"), path("sheet.png")}).exitCode, 0);
    const QImage sheet(path("sheet.png"));
    ASSERT_EQ(sheet.size(), QSize(192, 288));

    ASSERT_EQ(orvex({QStringLiteral("page"), path("in.zvx"), QStringLiteral("9"), path("page.png")}).exitCode, 0);
    const QImage page(path("page.png"));
    ASSERT_EQ(page.size(), QSize(360, 234));

    auto colourOf = [](const PixelCode &code) {
        return code.isBlack() ? 0xFF000000u : code.isWhite() ? 0xFFFFFFFFu : 0xFFAEAEAEu;
    };
    for (int code : {0, 17, 255}) {
        for (int dot : {0, 13, 215}) {
            const QPoint at((code % 16) * 12 + dot % 12, (code / 16) * 18 + dot / 12);
            EXPECT_EQ(sheet.pixel(at), colourOf(title->DotData[code][dot])) << code << " " << dot;
        }
    }
    for (int cell : {0, 31, 389}) {
        const int code = title->DispData(cell, 0, 9);
        const QPoint at((cell % 30) * 12 + 5, (cell / 30) * 18 + 7);
        EXPECT_EQ(page.pixel(at), colourOf(title->DotData[code][7 * 12 + 5])) << cell;
    }
}

// The reason stays on the screen: one line of it and one pointing to the
// help, not the whole help after it.
TEST_F(Cli, BadArgumentsSayWhyAndWhereTheHelpIsAndExitWithTwo)
{
    const QList<QStringList> bad = {
        {},
        {QStringLiteral("resave"), path("in.zvx")},
        {QStringLiteral("sheet"), path("in.zvx"), path("a.png"), QStringLiteral("extra")},
        {QStringLiteral("page"), path("in.zvx"), QStringLiteral("10"), path("a.png")},
        {QStringLiteral("page"), path("in.zvx"), QStringLiteral("x"), path("a.png")},
        {QStringLiteral("page"), path("in.zvx"), QStringLiteral("0"), path("a.png"), QStringLiteral("--stripes")},
        {QStringLiteral("import-sheet"), path("in.zvx"), path("sheet.png")},
        {QStringLiteral("import-block"), path("in.zvx"), QStringLiteral("10"), path("s.png"), path("out.zvx")},
        {QStringLiteral("import-block"), path("in.zvx"), QStringLiteral("x"), path("s.png"), path("out.zvx")},
        {QStringLiteral("import-block"), path("in.zvx"), path("s.png"), path("out.zvx")},
        {QStringLiteral("nonsense")},
        {QStringLiteral("send")},
        {QStringLiteral("send"), path("in.zvx"), QStringLiteral("--port"), QStringLiteral("9")},
        {QStringLiteral("send"), path("in.zvx"), QStringLiteral("--port"), QStringLiteral("1"),
         QStringLiteral("--channels"), QStringLiteral("9")},
    };
    for (const QStringList &args : bad) {
        const ToolRun run = orvex(args);
        const std::string call = args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(run.exitCode, 2) << call;
        const QStringList lines = run.err.split(u'\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 2) << call << '\n' << run.err.toStdString();
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("orvex: "))) << call;
        EXPECT_EQ(lines[1], QStringLiteral("Try 'orvex --help' for more information.")) << call;
    }
    const ToolRun help = orvex({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char *command : {"resave", "import-sheet", "import-block", "--bars"})
        EXPECT_TRUE(help.out.contains(QLatin1String(command))) << command;
}

// Each verb's help comes from its own options; an option or a missing value
// it does not know is bad arguments; an argument with one dash is never an
// option, so a title text or the file "-" starting with one still works.
TEST_F(Cli, EachVerbParsesItsOwnOptions)
{
    const struct
    {
        QStringList args;
        int exitCode;
        const char *says; // in stdout when 0, else in stderr
    } cases[] = {
        {{"status", "--help"}, 0, "Usage: orvex status [options]\n"},
        {{"site", "send", "--help"}, 0, "--units <LIST>"},
        {{"render", "--help"}, 0, "--no-edge"},
        {{"send", path("in.zvx"), "--port"}, 2, "orvex: send: Missing value after '--port'."},
        {{"ports", "--jsn"}, 2, "orvex: ports: unexpected \"--jsn\""},
        {{"resave", "-", path("out.zvx")}, 1, "orvex: "},
        {{"render", "-", "0", "-SALE-", "--cell=5", path("dash.zvx")}, 0, ""},
    };
    for (const auto &c : cases) {
        const ToolRun run = orvex(c.args);
        const std::string call = c.args.join(u' ').toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << call << '\n' << run.err.toStdString();
        EXPECT_TRUE((c.exitCode == 0 ? run.out : run.err).contains(QString::fromUtf8(c.says))) << call;
    }
    EXPECT_TRUE(QFileInfo::exists(path("dash.zvx")));
}

// A transfer log that is a pipe, a link to an endless device or a folder is
// not read: `log` says so and fails at once instead of hanging or reading
// for ever.
TEST_F(Cli, LogRefusesALogThatIsNoRegularFile)
{
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(path("state")));
    const QString log = path("state/orvex/transfers.log");
    ASSERT_TRUE(QDir().mkpath(path("state/orvex")));
    const struct
    {
        const char *what;
        std::function<bool()> make;
    } cases[] = {
        {"fifo", [&] { return ::mkfifo(QFile::encodeName(log).constData(), 0600) == 0; }},
        {"zero", [&] { return QFile::link(QStringLiteral("/dev/zero"), log); }},
        {"folder", [&] { return QDir().mkpath(log); }},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(c.make()) << c.what;
        FifoUnblocker unblocker(log);
        const ToolRun run = orvex({QStringLiteral("log")});
        EXPECT_EQ(run.exitCode, 1) << c.what;
        EXPECT_EQ(run.err, QStringLiteral("orvex: %1 は通常のファイルではありません\n").arg(log)) << c.what;
        EXPECT_TRUE(run.out.isEmpty()) << c.what;
        QFile::remove(log);
        QDir(log).removeRecursively();
    }
    qputenv("XDG_STATE_HOME", saved);
}

TEST_F(Cli, ImportOfAnExportedSheetWritesTheSameFile)
{
    ASSERT_EQ(orvex({QStringLiteral("sheet"), path("in.zvx"), path("sheet.png")}).exitCode, 0);
    const ToolRun run = orvex({QStringLiteral("import-sheet"), path("in.zvx"), path("sheet.png"), path("out.zvx")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_EQ(contents(path("out.zvx")), contents(path("in.zvx")));
}

TEST_F(Cli, ImportBlockReplacesTheBlocksCharacters)
{
    QImage strip(600, 36, QImage::Format_RGB32);
    strip.fill(Qt::white);
    ASSERT_TRUE(strip.save(path("strip.png")));
    const ToolRun run = orvex({QStringLiteral("import-block"), path("in.zvx"), QStringLiteral("2"), path("strip.png"),
                               path("out.zvx")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    TitleData expected = *title;
    for (int code = 51; code <= 75; ++code)
        std::fill_n(expected.DotData[code].begin(), Title::VisibleDots, PixelCode::white());
    EXPECT_EQ(contents(path("out.zvx")), ZvxWriter::serialize(expected));
}

TEST_F(Cli, ImportsThatCannotBeReadWriteNothing)
{
    QImage wrongSize(200, 288, QImage::Format_RGB32);
    wrongSize.fill(Qt::black);
    ASSERT_TRUE(wrongSize.save(path("wrong.png")));
    QFile text(path("text.png"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();

    const QList<QStringList> failing = {
        {QStringLiteral("import-sheet"), path("in.zvx"), path("wrong.png"), path("out.zvx")},
        {QStringLiteral("import-sheet"), path("in.zvx"), path("text.png"), path("out.zvx")},
        {QStringLiteral("import-sheet"), path("in.zvx"), path("missing.png"), path("out.zvx")},
        {QStringLiteral("import-sheet"), path("missing.zvx"), path("wrong.png"), path("out.zvx")},
        {QStringLiteral("import-block"), path("in.zvx"), QStringLiteral("0"), path("wrong.png"), path("out.zvx")},
    };
    for (const QStringList &args : failing) {
        const ToolRun run = orvex(args);
        EXPECT_EQ(run.exitCode, 1) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(run.err.isEmpty());
        EXPECT_FALSE(QFile::exists(path("out.zvx")));
    }
    EXPECT_TRUE(orvex(failing[0]).err.contains(QStringLiteral("192 x 288")));
}

TEST_F(Cli, PageWithBarsShowsThemThroughTransparentDots)
{
    TitleData blank;
    blank.setDefaults();
    blank.DotData[0][0] = PixelCode::black();
    ASSERT_TRUE(ZvxWriter::writeFile(path("blank.zvx"), blank).ok);
    ASSERT_EQ(orvex({QStringLiteral("page"), path("blank.zvx"), QStringLiteral("0"), path("bars.png"),
                     QStringLiteral("--bars")})
                  .exitCode,
              0);
    const QImage bars(path("bars.png"));
    ASSERT_EQ(bars.size(), QSize(360, 234));
    EXPECT_EQ(bars.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(bars.pixel(5, 5), qRgb(191, 191, 191));
    EXPECT_EQ(bars.pixel(355, 5), qRgb(0, 0, 191));
}

// help2man runs these while building, where there may be no display at all.
TEST(Programs, AnswerVersionAndHelpWithoutADisplay)
{
    const struct
    {
        const char *name;
        const char *path;
        const char *usage;
    } programs[] = {
        {"orvex", "/src/cli/orvex", "usage: orvex <command>"},
        {"orvex-editor", "/src/editor/orvex-editor", "Usage: orvex-editor [options]"},
        {"orvex-sim", "/src/sim/orvex-sim", "usage: orvex-sim [options]"},
    };
    for (const auto &p : programs) {
        const QString path = QString::fromLatin1(p.path);
        const ToolRun version = runProgram(path, {QStringLiteral("--version")}, true);
        EXPECT_EQ(version.exitCode, 0) << p.name;
        EXPECT_EQ(version.out, QStringLiteral("%1 %2\n").arg(QLatin1String(p.name), QLatin1String(BuildInfo::Version)));

        const ToolRun help = runProgram(path, {QStringLiteral("--help")}, true);
        EXPECT_EQ(help.exitCode, 0) << p.name;
        EXPECT_TRUE(help.out.startsWith(QLatin1String(p.usage))) << help.out.toStdString();
        EXPECT_TRUE(help.out.contains(QLatin1String("--version"))) << help.out.toStdString();
    }
}

TEST_F(Cli, ResaveKeepsAQuotedCommaAndTellsWhatItHadToChange)
{
    QByteArray bytes = ZvxWriter::serialize(*title);
    const qsizetype block1 = bytes.indexOf("\r\n", bytes.indexOf("\r\n") + 2) + 2;
    bytes.insert(block1, "\"Tokyo, Japan\"");
    const qsizetype block2 = bytes.indexOf("\r\n", block1) + 2;
    bytes.insert(block2, "\"two\r\nlines\"");
    QFile file(path("odd.zvx"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    const ToolRun run = orvex({QStringLiteral("resave"), path("odd.zvx"), path("out.zvx")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err.count(QStringLiteral("ブロック")), 1) << run.err.toStdString(); // one message
    EXPECT_TRUE(run.err.contains(QStringLiteral("ブロック 2 "))) << run.err.toStdString();

    // The result opens cleanly and resaves to itself.
    const ToolRun again = orvex({QStringLiteral("resave"), path("out.zvx"), path("again.zvx")});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_TRUE(again.err.isEmpty()) << again.err.toStdString();
    EXPECT_EQ(contents(path("again.zvx")), contents(path("out.zvx")));
    EXPECT_TRUE(contents(path("out.zvx")).contains("\r\n\"Tokyo,!Japan\"\r\ntwo!lines\r\n"));
}

TEST_F(Cli, WritesOnlyRegularFilesAndLinksToThem)
{
    ASSERT_EQ(mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
    QFile::link(QStringLiteral("/dev/null"), path("null"));
    for (const char *target : {"fifo", "null"}) {
        for (const QStringList &args : {QStringList{QStringLiteral("resave"), path("in.zvx"), path(target)},
                                        QStringList{QStringLiteral("sheet"), path("in.zvx"), path(target)}}) {
            const ToolRun run = orvex(args);
            EXPECT_EQ(run.exitCode, 1) << target;
            EXPECT_TRUE(run.err.contains(path(target))) << run.err.toStdString();
        }
    }
    EXPECT_TRUE(QFileInfo(path("null")).isSymLink());
    EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/null")).isFile());
}

TEST_F(Cli, AFailedPictureWriteLeavesThePreviousPictureWhole)
{
    ASSERT_EQ(orvex({QStringLiteral("sheet"), path("in.zvx"), path("sheet.png")}).exitCode, 0);
    const QByteArray previous = contents(path("sheet.png"));
    ASSERT_GT(previous.size(), 1024);

    // A disk that fills up after 1 KiB: the shell's file size limit, with the
    // signal that would kill the tool ignored so that writes fail instead.
    QProcess process;
    process.setProgram(QStringLiteral("/bin/bash"));
    process.setArguments({QStringLiteral("-c"), QStringLiteral("trap '' XFSZ; ulimit -f 1; exec \"$@\""),
                          QStringLiteral("bash"),
                          qEnvironmentVariable("ORVEX_BUILD_DIR") + QStringLiteral("/src/cli/orvex"),
                          QStringLiteral("page"), path("in.zvx"), QStringLiteral("9"), path("sheet.png")});
    process.start();
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(contents(path("sheet.png")), previous);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2); // in.zvx, sheet.png
}

TEST_F(Cli, AnEndlessInputEndsWithAnError)
{
    // A device is not even opened; a huge file of zeros (sparse, so it costs
    // no disk) ends at its first field, far too long for any data file.
    const ToolRun device = orvex({QStringLiteral("resave"), QStringLiteral("/dev/zero"), path("out.zvx")});
    EXPECT_EQ(device.exitCode, 1);
    EXPECT_TRUE(device.err.contains(QStringLiteral("/dev/zero"))) << device.err.toStdString();
    EXPECT_TRUE(device.err.contains(QStringLiteral("デバイス"))) << device.err.toStdString();

    QFile zeros(path("zeros.zvx"));
    ASSERT_TRUE(zeros.open(QIODevice::WriteOnly));
    ASSERT_TRUE(zeros.resize(qint64(1) << 30));
    zeros.close();
    const ToolRun run = orvex({QStringLiteral("resave"), path("zeros.zvx"), path("out.zvx")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("1行目"))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("out.zvx")));
}

// A named pipe would keep the tool waiting in open() for a writer: every
// command that reads a file refuses it unopened, says why, and writes nothing.
TEST_F(Cli, EveryReadRefusesAPipeUnopened)
{
    const QString fifo = path("pipe.zvx");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const FifoUnblocker unblock(fifo);
    const QString out = path("out");
    const QString sheet = path("sheet.png");
    ASSERT_EQ(orvex({QStringLiteral("sheet"), path("in.zvx"), sheet}).exitCode, 0);
    const QList<QStringList> reads = {
        {QStringLiteral("resave"), fifo, out},
        {QStringLiteral("sheet"), fifo, out},
        {QStringLiteral("page"), fifo, QStringLiteral("0"), out},
        {QStringLiteral("render"), fifo, QStringLiteral("0"), QStringLiteral("x"), out},
        {QStringLiteral("import-sheet"), fifo, sheet, out},
        {QStringLiteral("import-sheet"), path("in.zvx"), fifo, out},
        {QStringLiteral("import-block"), path("in.zvx"), QStringLiteral("0"), fifo, out},
        {QStringLiteral("send"), fifo, QStringLiteral("--port"), path("no-such-port")},
    };
    for (const QStringList &args : reads) {
        const ToolRun run = orvex(args);
        const std::string name = args.join(u' ').toStdString();
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_TRUE(run.err.contains(fifo)) << name << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("名前付きパイプ"))) << name << ": " << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(out)) << name;
    }
}

// Qt's own complaint about a picture too large to allocate never reaches
// the operator; the tool's message gives the size and the largest it reads.
TEST_F(Cli, AHugePictureIsRefusedInTheToolsWordsAlone)
{
    QFile huge(path("huge.png"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write(hugePngHeader());
    huge.close();
    const ToolRun run = orvex({QStringLiteral("import-sheet"), path("in.zvx"), path("huge.png"), path("out.zvx")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("orvex: "))) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("qt."))) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("QImage"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("20000 x 20000"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("8192"))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("out.zvx")));
}

// Files of another kind still open as a title, as they always have, but the
// tool says how the title differs from the file.
TEST_F(Cli, ResaveOfAFileOfAnotherKindSaysSo)
{
    const struct
    {
        const char *name;
        QByteArray bytes;
        const char *said;
    } files[] = {
        {"garbage.zvx", "garbage", "ZelkoVXData"},
        {"empty.zvx", "", "空です"},
        {"picture.zvx", hugePngHeader(), "ZelkoVXData"},
        {"short.zvx", "ZelkoVXData\r\nA!B\r\n", "2行目で終わって"},
    };
    for (const auto &f : files) {
        QFile file(path(f.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(f.bytes);
        file.close();
        const ToolRun run = orvex({QStringLiteral("resave"), path(f.name), path("out.zvx")});
        EXPECT_EQ(run.exitCode, 0) << f.name;
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("orvex: "))) << f.name;
        EXPECT_TRUE(run.err.contains(path(f.name))) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(f.said))) << run.err.toStdString();
        EXPECT_TRUE(QFile::exists(path("out.zvx")));
        QFile::remove(path("out.zvx"));
    }
}
