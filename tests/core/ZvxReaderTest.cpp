#include "ZvxTestData.h"

#include "core/ZvxFieldReader.h"
#include "core/ZvxReader.h"
#include "core/ZvxWriter.h"
#include "support/QtPrinters.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

ZvxReadResult readInto(TitleData &data, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ZvxReader::read(buffer, data);
}

QByteArray tenTexts()
{
    return QByteArray("t0\r\nt1\r\nt2\r\nt3\r\nt4\r\nt5\r\nt6\r\nt7\r\nt8\r\nt9\r\n");
}

// The file up to the start of the screen section, all dots "00".
QByteArray throughCharacters()
{
    QByteArray bytes = header() + tenTexts();
    for (int i = 0; i < 16384; ++i)
        bytes += "00000000\r\n";
    return bytes;
}

class ZvxReaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        data = makeVariedTitle();
        before = std::make_unique<TitleData>(*data);
    }
    std::unique_ptr<TitleData> data;
    std::unique_ptr<TitleData> before;
};

} // namespace

TEST_F(ZvxReaderTest, FieldQuirksQuotesLeadingSpacesCommasAndTag)
{
    const QByteArray bytes = QByteArray("NotTheTag,\"quoted, text\"junk\r\n   lead!space\r\n\r\n"
                                        "\"\"\r\n,x\r\n");
    ASSERT_TRUE(readInto(*data, bytes).ok());
    EXPECT_EQ(data->ChText[0], "quoted, text");
    EXPECT_EQ(data->ChText[1], "lead space");
    EXPECT_EQ(data->ChText[2], ""); // an empty line is one empty field
    EXPECT_EQ(data->ChText[3], "");
    EXPECT_EQ(data->ChText[4], ""); // a line starting with "," begins with an empty field
    EXPECT_EQ(data->ChText[5], "x");
    // Fields the file does not reach keep their values.
    EXPECT_EQ(data->ChText[9], before->ChText[9]);
    EXPECT_EQ(data->DotData, before->DotData);
}

TEST_F(ZvxReaderTest, ShortCharacterFieldsLeaveEmptyOrCutPieces)
{
    const QByteArray bytes = header() + tenTexts() + "1000010\r\n\r\n10101010101\r\n";
    ASSERT_TRUE(readInto(*data, bytes).ok());
    const CharPattern &c0 = data->DotData[0];
    EXPECT_TRUE(c0[0].isWhite());
    EXPECT_TRUE(c0[1].isBlack());
    EXPECT_TRUE(c0[2].isTransparent());
    EXPECT_EQ(c0[3].toText(), "0");
    for (int dot = 4; dot < 8; ++dot)
        EXPECT_TRUE(c0[dot].isEmpty()) << dot;
    for (int dot = 8; dot < 12; ++dot)
        EXPECT_TRUE(c0[dot].isWhite()) << dot; // characters past the eighth are ignored
    EXPECT_EQ(c0[12], before->DotData[0][12]);

    // An empty element behaves as transparent once written.
    QByteArray saved = ZvxWriter::serialize(*data);
    EXPECT_EQ(saved.split('\n')[12], "01010101\r");
}

TEST_F(ZvxReaderTest, ScreenNumbersRoundToNearestAndNonNumbersReadAsZero)
{
    QByteArray bytes = throughCharacters();
    bytes += " 12,1.5,2.5,254.5,abc,,-0.4,7x,3e1,255,1e-400\r\n";
    ASSERT_TRUE(readInto(*data, bytes).ok());
    const int expected[] = {12, 2, 2, 254, 0, 0, 0, 7, 30, 255, 0};
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(data->DispData(i / 2, i % 2, 0), expected[i]) << i;
    EXPECT_EQ(data->DispData(5, 1, 0), before->DispData(5, 1, 0));
    EXPECT_TRUE(data->DotData[255][255].isBlack());
}

TEST_F(ZvxReaderTest, OutOfRangeNumberIsAnErrorAndReadFileChangesNothing)
{
    // Values too large for a double once read as 0 and were accepted.
    const QByteArray nines(400, '9');
    for (const char *bad : {"256", "255.5", "-1", "1e9", "1e308", "1e309", "-1e309", "1e99999", nines.constData()}) {
        QTemporaryDir dir;
        const QString name = dir.filePath("bad.zvx");
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(throughCharacters() + "1,2,3," + bad + ",5\r\n");
        file.close();

        const ZvxReadResult result = ZvxReader::readFile(name, *data);
        EXPECT_EQ(result.error, ZvxReadResult::Error::NumberOutOfRange) << bad;
        EXPECT_EQ(result.line, 16396);
        EXPECT_TRUE(result.message().contains("16396")) << qPrintable(result.message());
        EXPECT_EQ(data->DotData, before->DotData);
        EXPECT_EQ(data->DispData, before->DispData);
        EXPECT_EQ(data->ChText, before->ChText);
    }
}

TEST_F(ZvxReaderTest, MissingFileIsAnErrorAndChangesNothing)
{
    const ZvxReadResult result = ZvxReader::readFile("/nonexistent/none.zvx", *data);
    EXPECT_EQ(result.error, ZvxReadResult::Error::CannotOpen);
    EXPECT_TRUE(result.message().contains("none.zvx"));
    EXPECT_EQ(data->ChText, before->ChText);
}

TEST_F(ZvxReaderTest, TruncatedFileKeepsTheRestAndExtraFieldsAreIgnored)
{
    TitleData other;
    other.setDefaults();
    other.ChText[0] = "new";
    other.DispData(389, 1, 9) = 42;
    QByteArray full = ZvxWriter::serialize(other);

    // Cut inside the character memory: pages and later dots stay as before.
    ASSERT_TRUE(readInto(*data, full.left(full.indexOf("\r\n", 20000))).ok());
    EXPECT_EQ(data->ChText[0], "new");
    EXPECT_TRUE(data->DotData[0][0].isTransparent());
    EXPECT_EQ(data->DotData[255], before->DotData[255]);
    EXPECT_EQ(data->DispData, before->DispData);

    // Extra lines and fields after page 9 change nothing.
    ASSERT_TRUE(readInto(*data, full + "999,999\r\nmore\r\n").ok());
    EXPECT_EQ(data->DispData, other.DispData);
}

TEST_F(ZvxReaderTest, GarbageHugeAndLongLineFilesNeverCrash)
{
    QRandomGenerator random(1234);
    QByteArray garbage(200000, '\0');
    for (auto &byte : garbage)
        byte = char(random.bounded(256));
    readInto(*data, garbage); // any outcome but a crash

    QByteArray unclosedQuote = header() + "\"never closed\r\nmore lines\r\n";
    ASSERT_TRUE(readInto(*data, unclosedQuote).ok());
    EXPECT_EQ(data->ChText[0], "never closed\r\nmore lines\r\n");
}

TEST_F(ZvxReaderTest, FieldLongerThanAnyLegalFieldIsAnErrorNamingItsLine)
{
    const qsizetype max = ZvxFieldReader::MaxFieldBytes;
    // The longest field that is still read: quotes and delimiter included.
    ASSERT_TRUE(readInto(*data, header() + "\"" + QByteArray(max - 2, 'x') + "\"\r\n").ok());
    EXPECT_EQ(data->ChText[0].size(), max - 2);
    before = std::make_unique<TitleData>(*data);

    struct Case
    {
        const char *what;
        QByteArray bytes;
        qint64 line;
    };
    const Case cases[] = {
        {"bare", header() + "a\r\n" + QByteArray(max + 1, 'x') + "\r\n", 3},
        {"quoted", header() + "\"" + QByteArray(max, 'x') + "\"", 2},
        {"spaces before", header() + QByteArray(max + 1, ' ') + "x", 2},
        {"after the quote", header() + "\"x\"" + QByteArray(max, 'y'), 2},
        {"quoted over lines", header() + "\"" + QByteArray(max, '\n'), 2},
        {"huge, no separator", QByteArray(5 * 1024 * 1024, 'x'), 1},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString name = dir.filePath("long.zvx");
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        file.close();
        const ZvxReadResult result = ZvxReader::readFile(name, *data);
        EXPECT_EQ(result.error, ZvxReadResult::Error::FieldTooLong) << c.what;
        EXPECT_EQ(result.line, c.line) << c.what;
        EXPECT_TRUE(result.message().contains(QString::number(c.line) + "行目")) << qPrintable(result.message());
        EXPECT_TRUE(data->ChText == before->ChText) << c.what;
        EXPECT_TRUE(data->DotData == before->DotData) << c.what;
    }
}

namespace {

// A source that never ends, repeating one pattern.
class EndlessDevice : public QIODevice
{
public:
    explicit EndlessDevice(QByteArray pattern) : m_pattern(std::move(pattern)) { open(ReadOnly); }
    bool isSequential() const override { return true; }
    qint64 served() const { return m_served; }

protected:
    qint64 readData(char *out, qint64 max) override
    {
        for (qint64 i = 0; i < max; ++i)
            out[i] = m_pattern[(m_served + i) % m_pattern.size()];
        m_served += max;
        return max;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_pattern;
    qint64 m_served = 0;
};

} // namespace

TEST_F(ZvxReaderTest, EndlessInputEnds)
{
    struct Case
    {
        QByteArray pattern;
        bool ok; // endless short fields fill the title and stop; anything else is too long
    };
    const Case cases[] = {
        {QByteArray(1, '\0'), false}, {" ", false}, {"x", false}, {"\"", false}, {"\r\n", true}, {"0,", true},
    };
    for (const Case &c : cases) {
        EndlessDevice device(c.pattern);
        const ZvxReadResult result = ZvxReader::load(device, *data);
        EXPECT_EQ(result.ok(), c.ok) << c.pattern.toHex().constData();
        EXPECT_LT(device.served(), 4 * 1024 * 1024) << c.pattern.toHex().constData();
    }

    // Through the file path a device node that never ends is not even opened.
    const ZvxReadResult zero = ZvxReader::readFile("/dev/zero", *data);
    EXPECT_EQ(zero.error, ZvxReadResult::Error::NotRegularFile);
}

TEST_F(ZvxReaderTest, LoneCrAndLfAlsoEndLines)
{
    ASSERT_TRUE(readInto(*data, "tag\na\rb\r\nc").ok());
    EXPECT_EQ(data->ChText[0], "a");
    EXPECT_EQ(data->ChText[1], "b");
    EXPECT_EQ(data->ChText[2], "c");
}
