#include "core/TitleData.h"
#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"

#include "support/QtPrinters.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RenderCommandTest : public ::testing::Test
{
protected:
    int runTool(const QStringList &args)
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral(ORVEX_TOOL), QStringList{QStringLiteral("render")} + args);
        if (!tool.waitForFinished(60000))
            return -1;
        m_stderr = QString::fromLocal8Bit(tool.readAllStandardError());
        return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    }

    QString path(const QString &name) const { return m_dir.path() + u'/' + name; }

    static int countWhite(const TitleData &data, int topCode)
    {
        int n = 0;
        for (int k = 0; k < Title::BlockSize; ++k)
            for (int d = 0; d < Title::VisibleDots; ++d)
                n += data.DotData[topCode + k][d].isWhite();
        return n;
    }

    QTemporaryDir m_dir;
    QString m_stderr;
};

} // namespace

TEST_F(RenderCommandTest, RendersIntoAnExistingFileWithoutADisplay)
{
    TitleData input;
    input.setDefaults();
    input.ChText[1] = QStringLiteral("kept");
    input.DispData(0, 0, 1) = 99;
    input.DispData(0, 1, 3) = 4;
    ASSERT_TRUE(ZvxWriter::writeFile(path(QStringLiteral("in.zvx")), input).ok);

    ASSERT_EQ(runTool({path(QStringLiteral("in.zvx")), QStringLiteral("3"), QStringLiteral("本日 ABC"),
                       path(QStringLiteral("out.zvx")), QStringLiteral("--cell"), QStringLiteral("40"),
                       QStringLiteral("--no-edge"), QStringLiteral("--bold")}),
              0)
        << m_stderr.toStdString();

    TitleData out;
    out.setDefaults();
    ASSERT_TRUE(ZvxReader::readFile(path(QStringLiteral("out.zvx")), out).ok());
    EXPECT_EQ(out.ChText[3], QStringLiteral("本日 ABC"));
    EXPECT_EQ(out.ChText[1], QStringLiteral("kept"));
    EXPECT_EQ(out.DispData(0, 0, 1), 99);
    EXPECT_EQ(out.DispData(0, 1, 3), 4);
    EXPECT_EQ(out.DispData(39, 0, 3), 0);
    EXPECT_EQ(out.DispData(40, 0, 3), 76);
    EXPECT_EQ(out.DispData(59, 0, 3), 95);
    EXPECT_EQ(out.DispData(60, 0, 3), 0);
    EXPECT_GT(countWhite(out, 76), 40);
    for (int k = 0; k < Title::BlockSize; ++k)
        for (int d = 0; d < Title::VisibleDots; ++d)
            ASSERT_FALSE(out.DotData[76 + k][d].isBlack());
}

TEST_F(RenderCommandTest, StartsFromDefaultsAndEdgesByDefault)
{
    ASSERT_EQ(runTool({QStringLiteral("-"), QStringLiteral("0"), QStringLiteral("ABC あいう 123"),
                       path(QStringLiteral("out.zvx"))}),
              0)
        << m_stderr.toStdString();
    TitleData out;
    out.setDefaults();
    ASSERT_TRUE(ZvxReader::readFile(path(QStringLiteral("out.zvx")), out).ok());
    EXPECT_EQ(out.DispData(0, 0, 0), 1);
    EXPECT_EQ(out.DispData(24, 0, 0), 25);
    EXPECT_GT(countWhite(out, 1), 100);
    EXPECT_TRUE(out.DotData[1][0].isTransparent() || out.DotData[1][0].isBlack());
    bool anyBlack = false;
    for (int d = 0; d < Title::VisibleDots; ++d)
        anyBlack |= out.DotData[1][d].isBlack();
    EXPECT_TRUE(anyBlack);
}

TEST_F(RenderCommandTest, TheSmallestAcceptedSizeStillDrawsADot)
{
    ASSERT_EQ(runTool({QStringLiteral("-"), QStringLiteral("0"), QStringLiteral("■W"), path(QStringLiteral("out.zvx")),
                       QStringLiteral("--size"), QStringLiteral("0.75"), QStringLiteral("--no-edge")}),
              0)
        << m_stderr.toStdString();
    TitleData out;
    out.setDefaults();
    ASSERT_TRUE(ZvxReader::readFile(path(QStringLiteral("out.zvx")), out).ok());
    EXPECT_GT(countWhite(out, 1), 0);
}

TEST_F(RenderCommandTest, RefusedTextAndBadInputFailWithoutWriting)
{
    const QString out = path(QStringLiteral("out.zvx"));
    EXPECT_EQ(runTool({QStringLiteral("-"), QStringLiteral("0"), QStringLiteral("1,000\""), out}), 1);
    EXPECT_TRUE(m_stderr.contains(QStringLiteral("カンマ「,」と半角の引用符「\"」")));
    EXPECT_TRUE(m_stderr.endsWith(QStringLiteral("「%1」には何も書き込みませんでした。\n").arg(out)))
        << m_stderr.toStdString();
    EXPECT_FALSE(m_stderr.contains(QStringLiteral("押して"))) << m_stderr.toStdString();
    // A text the reader could not take back in one field.
    EXPECT_EQ(runTool({QStringLiteral("-"), QStringLiteral("0"), QString(70000, u'x'), out}), 1);
    EXPECT_TRUE(m_stderr.contains(QStringLiteral("長すぎます")));
    EXPECT_EQ(runTool({path(QStringLiteral("missing.zvx")), QStringLiteral("0"), QStringLiteral("a"), out}), 1);
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(RenderCommandTest, BadArgumentsExitWithTwo)
{
    const QString out = path(QStringLiteral("out.zvx"));
    const QString a = QStringLiteral("a");
    EXPECT_EQ(runTool({QStringLiteral("-"), QStringLiteral("10"), a, out}), 2);
    EXPECT_EQ(runTool({QStringLiteral("-"), QStringLiteral("x"), a, out}), 2);
    EXPECT_EQ(runTool({QStringLiteral("-"), QStringLiteral("0"), a}), 2);
    EXPECT_EQ(runTool({QStringLiteral("-"), QStringLiteral("0"), a, out, QStringLiteral("--cell"),
                       QStringLiteral("390")}),
              2);
    // "nan" and "inf" once parsed as sizes and made an empty title.
    for (const char *size : {"0", "nan", "-nan", "inf", "0.5", "1e-9", "1001"})
        EXPECT_EQ(runTool({QStringLiteral("-"), QStringLiteral("0"), a, out, QStringLiteral("--size"),
                           QString::fromLatin1(size)}),
                  2)
            << size;
    EXPECT_EQ(runTool({QStringLiteral("-"), QStringLiteral("0"), a, out, QStringLiteral("--font")}), 2);
    EXPECT_EQ(runTool({QStringLiteral("-"), QStringLiteral("0"), a, out, QStringLiteral("--italic")}), 2);
    EXPECT_TRUE(m_stderr.contains(QStringLiteral("Try 'orvex --help'")));
    EXPECT_FALSE(QFile::exists(out));
}

// A comma is kept as a quoted field, so such texts are made, and reopen as typed.
TEST_F(RenderCommandTest, TextsWithACommaAreMadeAndReopenEqual)
{
    for (const QString &text : {QStringLiteral("Tokyo, Japan"), QStringLiteral("東京, 大阪")}) {
        const QString out = path(QStringLiteral("comma.zvx"));
        ASSERT_EQ(runTool({QStringLiteral("-"), QStringLiteral("3"), text, out}), 0) << m_stderr.toStdString();
        EXPECT_TRUE(m_stderr.isEmpty()) << m_stderr.toStdString();
        TitleData reopened;
        reopened.setDefaults();
        const ZvxReadResult read = ZvxReader::readFile(out, reopened);
        ASSERT_TRUE(read.ok());
        EXPECT_FALSE(read.changedOnOpening());
        EXPECT_EQ(reopened.ChText[3], text);
        EXPECT_GT(countWhite(reopened, 76), 0);
    }
}

// What does not fit is still made, with one warning line naming it; a text
// that fits says nothing.
TEST_F(RenderCommandTest, WarnsOnceAboutWhatWasCutAndStillMakesIt)
{
    const struct
    {
        QString text;
        int cell;
        const char *warned; // part of the one line, or nothing
    } cases[] = {
        {QStringLiteral("本日のニュース"), 0, nullptr},
        {QStringLiteral("本日のニュース"), 13, nullptr},
        {QStringLiteral("本日のニュース"), 28, "セル28"},
        {QStringLiteral("0123456789ABCDEFGHIJ0123456789abcdefghij"), 0, "「"},
        {QString(40, u'あ'), 0, "あ"},
    };
    for (const auto &c : cases) {
        const QString out = path(QStringLiteral("cut.zvx"));
        QFile::remove(out);
        const int exitCode = runTool({QStringLiteral("-"), QStringLiteral("0"), c.text, out, QStringLiteral("--cell"),
                                      QString::number(c.cell)});
        EXPECT_EQ(exitCode, 0) << m_stderr.toStdString();
        EXPECT_TRUE(QFile::exists(out));
        if (!c.warned) {
            EXPECT_TRUE(m_stderr.isEmpty()) << m_stderr.toStdString();
            continue;
        }
        EXPECT_TRUE(m_stderr.startsWith(QStringLiteral("orvex: warning: "))) << m_stderr.toStdString();
        EXPECT_EQ(m_stderr.count(u'\n'), 1) << m_stderr.toStdString();
        EXPECT_TRUE(m_stderr.contains(QString::fromUtf8(c.warned))) << m_stderr.toStdString();
    }
}
