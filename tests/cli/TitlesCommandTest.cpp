// `orvex titles` against the eight `orvex render` calls it stands for.

#include "core/TitleData.h"
#include "core/ZvxTestData.h"
#include "core/ZvxWriter.h"

#include "support/QtPrinters.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class TitlesCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        title = makeVariedTitle();
        ASSERT_TRUE(ZvxWriter::writeFile(path("in.zvx"), *title).ok);
    }

    int run(const QStringList &args)
    {
        QProcess tool;
        tool.start(QStringLiteral(ORVEX_TOOL), args);
        if (!tool.waitForFinished(60000))
            return -1;
        err = QString::fromUtf8(tool.readAllStandardError());
        return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    void writeList(const QByteArray &bytes)
    {
        QFile file(path("list.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray contents(const QString &fileName)
    {
        QFile file(fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // What one `orvex render` per non-empty line, in channel order, makes.
    QByteArray byRenderCalls(const QString &in, const QStringList &lines, const QStringList &options)
    {
        QString current = in;
        for (int ch = 0; ch < lines.size(); ++ch) {
            if (lines[ch].isEmpty())
                continue;
            const QString out = dir.filePath(QStringLiteral("step%1.zvx").arg(ch));
            EXPECT_EQ(run(QStringList{QStringLiteral("render"), current, QString::number(ch), lines[ch], out}
                          + options),
                      0)
                << err.toStdString();
            current = out;
        }
        return current == QLatin1String("-") ? QByteArray() : contents(current);
    }

    QTemporaryDir dir;
    std::unique_ptr<TitleData> title;
    QString err;
};

} // namespace

TEST_F(TitlesCommandTest, IsByteIdenticalToOneRenderPerLine)
{
    struct Case
    {
        const char *name;
        QByteArray list;
        QStringList lines; // as the render calls get them
        QStringList options;
        bool fromScratch;
    };
    const Case cases[] = {
        {"eight lines", "CAM1 玄関\nCAM2 駐車場\nCAM3\nCAM4\nCAM5\nCAM6\nCAM7 裏口\nCAM8\n",
         {"CAM1 玄関", "CAM2 駐車場", "CAM3", "CAM4", "CAM5", "CAM6", "CAM7 裏口", "CAM8"}, {}, false},
        {"empty lines keep channels, CR LF, no last line end", "\r\n第2カメラ\r\n\r\nCAM4",
         {"", "第2カメラ", "", "CAM4"}, {"--cell", "35", "--no-edge"}, false},
        {"from scratch with a font choice", "\xEF\xBB\xBF" "A\nB\nC\n", {"A", "B", "C"},
         {"--size", "12", "--bold"}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeList(c.list);
        const QString in = c.fromScratch ? QStringLiteral("-") : path("in.zvx");
        ASSERT_EQ(run(QStringList{"titles", in, path("list.txt"), path("out.zvx")} + c.options), 0)
            << err.toStdString();
        QByteArray expected = byRenderCalls(in, c.lines, c.options);
        EXPECT_FALSE(expected.isEmpty());
        EXPECT_EQ(contents(path("out.zvx")), expected);
    }
}

TEST_F(TitlesCommandTest, AnEmptyListKeepsEveryChannel)
{
    writeList("\n\n\n");
    ASSERT_EQ(run({"titles", path("in.zvx"), path("list.txt"), path("out.zvx")}), 0) << err.toStdString();
    EXPECT_EQ(contents(path("out.zvx")), contents(path("in.zvx")));
}

TEST_F(TitlesCommandTest, RefusesAListItCannotStoreAndWritesNothing)
{
    struct Case
    {
        const char *name;
        QByteArray list;
        const char *says;
    };
    const Case cases[] = {
        {"nine lines", "1\n2\n3\n4\n5\n6\n7\n8\n9\n", "9 lines"},
        {"a comma and a quote on line 3", "A\nB\nC,\"D\"\n", "CH3（"},
        {"a leading quote", "\"A\n", "CH1（"},
        {"not UTF-8", "A\n\xff\xfe\n", "UTF-8"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeList(c.list);
        EXPECT_EQ(run({"titles", path("in.zvx"), path("list.txt"), path("out.zvx")}), 2);
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.says))) << err.toStdString();
        EXPECT_FALSE(QFile::exists(path("out.zvx")));
        EXPECT_EQ(err.count(u'\n'), 1) << err.toStdString();
    }
    // A refused text: no button to press here, and one language to the end.
    writeList("\"A\n");
    EXPECT_EQ(run({"titles", path("in.zvx"), path("list.txt"), path("out.zvx")}), 2);
    EXPECT_TRUE(err.startsWith(QStringLiteral("orvex: CH1（%1の1行目）: ").arg(path("list.txt")))) << err.toStdString();
    EXPECT_TRUE(err.endsWith(QStringLiteral("「%1」には何も書き込みませんでした。\n").arg(path("out.zvx"))))
        << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("押して")) || err.contains(QStringLiteral("written")));

    EXPECT_EQ(run({"titles", path("in.zvx"), path("missing.txt"), path("out.zvx")}), 1);
    EXPECT_EQ(run({"titles", path("in.zvx"), path("list.txt")}), 2);
}

// Cut channels are made all the same, each named on one warning line that
// says what `orvex render` says of the same text.
TEST_F(TitlesCommandTest, WarnsOnceForEachChannelThatWasCut)
{
    const QString tooLong = QStringLiteral("Parking Lot North Gate Entrance East Side Camera");
    const QString wide = QString(40, u'あ');
    writeList((QStringLiteral("CAM1\n\n") + tooLong + u'\n' + wide + u'\n').toUtf8());
    ASSERT_EQ(run({"titles", "-", path("list.txt"), path("out.zvx")}), 0) << err.toStdString();
    EXPECT_TRUE(QFile::exists(path("out.zvx")));
    const QStringList lines = err.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << err.toStdString();

    const auto renderWarning = [&](int block, const QString &text) {
        EXPECT_EQ(run({"render", "-", QString::number(block), text, path("one.zvx")}), 0);
        return err.trimmed().mid(QStringLiteral("orvex: warning: ").size());
    };
    EXPECT_EQ(lines[0], QStringLiteral("orvex: warning: CH3: ") + renderWarning(2, tooLong));
    EXPECT_EQ(lines[1], QStringLiteral("orvex: warning: CH4: ") + renderWarning(3, wide));
}
