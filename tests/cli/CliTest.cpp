#include "support/QtPrinters.h"

#include "core/ZvxTestData.h"
#include "core/ZvxWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct ToolRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the built `orvex` tool as a script would.
ToolRun orvex(const QStringList &args)
{
    QProcess process;
    process.setProgram(qEnvironmentVariable("ORVEX_BUILD_DIR") + QStringLiteral("/src/cli/orvex"));
    process.setArguments(args);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
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

TEST_F(Cli, BadArgumentsPrintTheUsageAndExitWithTwo)
{
    const QList<QStringList> bad = {
        {},
        {QStringLiteral("resave"), path("in.zvx")},
        {QStringLiteral("sheet"), path("in.zvx"), path("a.png"), QStringLiteral("extra")},
        {QStringLiteral("page"), path("in.zvx"), QStringLiteral("10"), path("a.png")},
        {QStringLiteral("page"), path("in.zvx"), QStringLiteral("x"), path("a.png")},
        {QStringLiteral("nonsense")},
    };
    for (const QStringList &args : bad) {
        const ToolRun run = orvex(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("usage:"))) << args.join(QLatin1Char(' ')).toStdString();
    }
    const ToolRun help = orvex({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("resave")));
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
    const ToolRun run = orvex({QStringLiteral("resave"), QStringLiteral("/dev/zero"), path("out.zvx")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("1行目"))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("out.zvx")));
}
