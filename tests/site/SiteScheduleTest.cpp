// The camera schedule as spreadsheets save it, and every refusal naming its
// line and column.

#include "site/SiteSchedule.h"

#include "core/Cp932.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray utf8(const char *text)
{
    return QByteArray(text);
}

// "A:addr:1=Gate,2=Yard;B:..." — the units, addresses and cameras read.
QString summary(const SiteSchedule &schedule)
{
    QStringList units;
    for (const SiteSchedule::Unit &unit : schedule.units) {
        QStringList cameras;
        for (const SiteSchedule::Camera &camera : unit.cameras)
            cameras << QStringLiteral("%1=%2").arg(camera.channel).arg(camera.title);
        units << QStringLiteral("%1:%2:%3").arg(unit.name, unit.address, cameras.join(u','));
    }
    return units.join(u';');
}

struct ReadCase
{
    const char *name;
    QByteArray bytes;
    const char *expected; // the summary, or the start of the refusal
};

} // namespace

TEST(SiteSchedule, ReadsWhatSpreadsheetsSave)
{
    const ReadCase cases[] = {
        {"English header, LF, address on one row of a unit",
         utf8("unit,address,channel,title\nA,/dev/ttyUSB0,1,Gate\nA,,2,Yard\nB,tcp://rack:4001,1,Door\n"),
         "A:/dev/ttyUSB0:1=Gate,2=Yard;B:tcp://rack:4001:1=Door"},
        {"UTF-8 with BOM, CR LF, Japanese header",
         utf8("\xEF\xBB\xBF装置,アドレス,チャンネル,カメラ名\r\n1号機,1,3,正門\r\n1号機,,4,裏口\r\n"),
         "1号機:1:3=正門,4=裏口"},
        {"Shift_JIS as Japanese Excel saves CSV",
         Cp932::encode(QStringLiteral("装置,CH,タイトル,備考\r\n2号機,8,駐車場①,屋外\r\n")),
         "2号機::8=駐車場①"},
        {"columns in any order and case, notes ignored",
         utf8("Note,TITLE,Channel,UNIT,Address\nlens 4mm,Gate,3,A,rfc2217://10.0.0.5:7000\n"),
         "A:rfc2217://10.0.0.5:7000:3=Gate"},
        {"quoted commas, doubled quotes, a line break in a note",
         utf8("unit,channel,title,note\nA,1,\"Gate, north\",\"two\nlines\"\nA,2,\"5\"\" dome\",\n"),
         "A::1=Gate, north,2=5\" dome"},
        {"an empty title keeps its channel; spacer rows skipped",
         utf8("unit,channel,title\n\nA,5,\n,,\nA,6,Hall\n"), "A::5=,6=Hall"},
        {"a bare CH header, channels as panels label them", utf8("ch,unit,title\n7,A\nCH 8,A\nch1,A\n"), "A::7=,8=,1="},
        {"one device spelled alike twice for one unit", utf8("unit,address,ch,title\nA,/dev/./null,1,\nA,/dev/null,2,\n"),
         "A:/dev/./null:1=,2="},
    };
    for (const ReadCase &c : cases) {
        const SiteSchedule::Read read = SiteSchedule::parse(c.bytes);
        ASSERT_TRUE(read.schedule) << c.name << ": " << read.error.toStdString();
        EXPECT_EQ(summary(*read.schedule), QString::fromUtf8(c.expected)) << c.name;
    }
}

TEST(SiteSchedule, RefusesWithLineAndColumn)
{
    const QByteArray head = "unit,address,channel,title\n";
    const ReadCase cases[] = {
        {"separator", head + "a/b,,1,x\n", "row 2, column unit: \"a/b\" holds a folder separator"},
        {"backslash", head + "a\\b,,1,x\n", "row 2, column unit: \"a\\b\" holds a folder separator"},
        {"dot dot", head + "..,,1,x\n", "row 2, column unit: \"..\" holds \"..\""},
        {"device name", head + "A,,1,x\nCOM1,,1,x\n", "row 3, column unit: \"COM1\" is a name Windows keeps"},
        {"device name with extension", head + "nul.txt,,1,x\n", "row 2, column unit: \"nul.txt\" is a name Windows"},
        {"trailing dot", head + "A.,,1,x\n", "row 2, column unit: \"A.\" ends in a dot"},
        {"control character", head + "A\x01,,1,x\n", "row 2, column unit: \"A\x01\" holds a control character"},
        {"one file on Windows", head + "Gate,,1,x\ngate,,2,y\n", "row 3, column unit: \"gate\" and \"Gate\""},
        {"two addresses", head + "A,1,1,x\nA,,2,y\nA,2,3,z\n", "row 4, column address: unit A is at 1 (row 2), not 2"},
        {"one address for two units", head + "A,tcp://rack:4001,1,x\nB,tcp://rack:4001,1,y\n",
         "row 3, column address: tcp://rack:4001 is the address of unit A (row 2)"},
        {"bad address", head + "A,tcp://rack,1,x\n", "row 2, column address: \"tcp://rack\""},
        {"channel 9", head + "A,,9,x\n", "row 2, column channel: \"9\" is no channel 1..8"},
        {"channel 0", head + "A,,0,x\n", "row 2, column channel: \"0\" is no channel"},
        {"channel text", head + "A,,one,x\n", "row 2, column channel: \"one\" is no channel"},
        {"a camera twice", head + "A,,1,x\nB,,1,y\nA,,1,z\n", "row 4, column channel: unit A channel 1 is on row 2"},
        {"title with a half-width !", head + "A,,1,Gate!\n", "row 2, column title: "},
        {"title outside code page 932", head + "A,,1,Gate \xF0\x9F\x93\xB7\n", "row 2, column title: "},
        {"the header's own spelling is named", "Unit,Channel,Title\nA,12\n", "row 2, column Channel: "},
        {"the row a spreadsheet shows, and the line past a quoted line break",
         "unit,note,channel,title\nA,\"one\ntwo\",1,\n\nA,,x,\n", "row 4 (line 5), column channel"},
        {"no unit column", "camera,channel,title\nA,1,\n", "row 1: no column \"unit\""},
        {"no title column", "unit,channel,camera name\nA,1,Gate\n", "row 1: no column \"title\""},
        {"lines in two encodings", utf8("unit,channel,title\nA,1,カメラ\n") + Cp932::encode(QStringLiteral("B,1,門\n")),
         "line 2 is UTF-8 but line 3 is not"},
        {"a name too long for a file", head + QByteArray(252, 'n') + ",,1,x\n", "row 2, column unit: \"nnn"},
        {"one port spelled two ways", head + "A,tcp://[::1]:4001,1,x\nB,tcp://[0:0:0:0:0:0:0:1]:4001,1,y\n",
         "row 3, column address: tcp://[0:0:0:0:0:0:0:1]:4001 is the address of unit A (row 2)"},
        {"one host in two cases", head + "A,rfc2217://Rack.local:7001,1,x\nB,rfc2217://rack.LOCAL.:7001,1,y\n",
         "row 3, column address: rfc2217://rack.LOCAL.:7001 is the address of unit A"},
        {"one device through . and ..", head + "A,/dev/null,1,x\nB,/dev/./../dev/null,1,y\n",
         "row 3, column address: /dev/./../dev/null is the address of unit A"},
        {"a folder for a port", head + "A,/dev,1,x\n", "row 2, column address: \"/dev\" is a folder, not a serial port"},
        {"a column twice", "unit,装置,channel\nA,B,1\n", "row 1, column 装置: names the same column as column unit"},
        {"quote never closed", head + "A,,1,\"Gate\n", "row 2: a quote is never closed"},
        {"text after a closing quote", head + "A,,\"1\"x,\n", "row 2: text after a closing quote"},
        {"neither UTF-8 nor Shift_JIS", "unit,channel\nA\x81 ,1\n", "the file is neither UTF-8 nor Shift_JIS"},
        {"UTF-16", "\xFF\xFEu\0n\0", "the file is UTF-16"},
        {"header only", head, "no camera"},
    };
    for (const ReadCase &c : cases) {
        const SiteSchedule::Read read = SiteSchedule::parse(c.bytes);
        EXPECT_FALSE(read.schedule) << c.name;
        EXPECT_TRUE(read.error.startsWith(QString::fromUtf8(c.expected))) << c.name << ": " << read.error.toStdString();
    }
}

TEST(SiteSchedule, ReadsOnlyARegularFileOfBoundedSize)
{
    QTemporaryDir dir;
    EXPECT_TRUE(SiteSchedule::readFile(dir.path()).error.contains(dir.path()));
    const SiteSchedule::Read missing = SiteSchedule::readFile(dir.filePath(QStringLiteral("none.csv")));
    EXPECT_FALSE(missing.schedule);
    EXPECT_TRUE(missing.unreadable);

    QFile big(dir.filePath(QStringLiteral("big.csv")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write("unit,channel\n" + QByteArray(SiteSchedule::MaxBytes, ' '));
    big.close();
    const SiteSchedule::Read read = SiteSchedule::readFile(big.fileName());
    EXPECT_FALSE(read.schedule);
    EXPECT_TRUE(read.error.contains(QStringLiteral("over 1 MiB"))) << read.error.toStdString();
}

TEST(SiteSchedule, KnowsADeviceBehindItsLinksAndNoPortInAFile)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("by-id-adapter"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), link));
    const QString plain = dir.filePath(QStringLiteral("notes.txt"));
    QFile file(plain);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const struct
    {
        QByteArray rows;
        const char *refusal;
    } cases[] = {
        {"A," + link.toUtf8() + ",1,x\nB,/dev/null,1,y\n", "row 3, column address: /dev/null is the address of unit A"},
        {"A," + plain.toUtf8() + ",1,x\n", "is a regular file, not a serial port"},
    };
    for (const auto &c : cases) {
        const SiteSchedule::Read read = SiteSchedule::parse("unit,address,channel,title\n" + c.rows);
        EXPECT_FALSE(read.schedule);
        EXPECT_TRUE(read.error.contains(QString::fromUtf8(c.refusal))) << read.error.toStdString();
        EXPECT_FALSE(read.japanese.isEmpty());
    }
}

TEST(SiteSchedule, ChecksEightThousandAddressesInOnePass)
{
    QByteArray csv = "unit,address,channel,title\n";
    constexpr int Units = 8000;
    for (int i = 0; i < Units; ++i)
        csv += QStringLiteral("U%1,tcp://rack:%2,1,\n").arg(i).arg(1000 + i).toUtf8();
    const SiteSchedule::Read read = SiteSchedule::parse(csv);
    ASSERT_TRUE(read.schedule) << read.error.toStdString();
    EXPECT_EQ(read.schedule->units.size(), Units);
    // A hash probes a slot or two per unit; comparing each with the others would take 32 million.
    EXPECT_LT(read.addressComparisons, 4 * Units);
}
