// A serial device server's own text on a fresh connection, in words.

#include "netserial/ServerNotice.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(ServerNotice, NamesWhatSer2netSaysAndShowsItsWords)
{
    // ser2net over telnet puts its option offers before the text.
    const QByteArray telnet("\xff\xfb\x03\xff\xfd\x03\xff\xfb\x01\xff\xfe\x01\xff\xfd\x00\xff\xfb\x00\xff\xfd,", 21);
    // Maybe our own dead connection, so the operator is told what to do.
    const char *InUse = "まだ前の接続を保っています（Port already in use）。その接続は、このコンピューターが前に使って"
                        "切れたもののこともあります。サーバーがそれを手放すまで待つか、サーバーでその接続を切ってから"
                        "やり直して下さい";
    struct Case
    {
        QByteArray bytes;
        const char *described;
    };
    const Case cases[] = {
        {"Port already in use\r\n", InUse},
        {telnet + "Port already in use\r\n", InUse},
        {"Device open failure: Value or file not found\r\n",
         "装置を開けません（Device open failure: Value or file not found）"},
        {"Port's device failed open\r\n", "装置を開けません（Port's device failed open）"},
        {"Port's device already in use\r\n", "装置を他のポートが使用中です（Port's device already in use）"},
        {"Accessed denied due to your net address\r\n",
         "この接続元からの接続を許可していません（Accessed denied due to your net address）"},
        {"Port disabled\r\n", "ポートを無効にしています（Port disabled）"},
        {"\x06\x02ok \r\n\r\n  more\n", "応答の前に不明なデータを送ってきました（\\x06\\x02ok more）"},
        {QByteArray(200, 'A'), nullptr},
        {"\r\n", "応答の前に不明なデータを送ってきました"},
    };
    for (const Case &c : cases) {
        const QString want = c.described ? QString::fromUtf8(c.described)
                                         : QStringLiteral("応答の前に不明なデータを送ってきました（%1…）")
                                               .arg(QString(ServerNotice::MaxShown, u'A'));
        EXPECT_EQ(ServerNotice::describe(c.bytes), want) << c.bytes.toStdString();
    }
}
