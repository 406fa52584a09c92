// The remembered port between runs.

#include "platform/PortChoiceStore.h"
#include "support/QtPrinters.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(PortChoiceStore, KeepsAnOptionOrAnAddressAcrossRuns)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("orvex-editor.conf"));
    const PortChoice choices[] = {
        PortChoice::ofOption(3),
        PortChoice::ofAddress(QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A6008isP-if00-port0")),
        PortChoice::ofAddress(QStringLiteral("rfc2217://192.168.1.20:7000")),
        PortChoice::ofOption(8),
    };
    for (const PortChoice &choice : choices) {
        {
            QSettings settings(file, QSettings::IniFormat);
            PortChoiceStore(settings).save(choice);
        }
        QSettings next(file, QSettings::IniFormat); // the next start
        EXPECT_EQ(PortChoiceStore(next).load(), choice);
    }
}

TEST(PortChoiceStore, NothingOrNonsenseKeptMeansNoChoice)
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("o.conf")), QSettings::IniFormat);
    PortChoiceStore store(settings);
    EXPECT_FALSE(store.load().isChosen());
    for (const QVariant &bad : {QVariant(0), QVariant(9), QVariant(QStringLiteral("three"))}) {
        settings.setValue(QStringLiteral("port/option"), bad);
        EXPECT_FALSE(store.load().isChosen()) << bad.toString().toStdString();
    }
    store.save(PortChoice::ofAddress(QStringLiteral("tcp://h:1")));
    store.forget();
    EXPECT_FALSE(store.load().isChosen());
}

TEST(PortChoice, ComNoIsTheOptionsNumberAndNothingElseCountsAsAnOption)
{
    qunsetenv("ORVEX_COM4");
    EXPECT_EQ(PortChoice::ofOption(4).comNo(), 4);
    EXPECT_EQ(PortChoice::ofOption(4).device(), QStringLiteral("/dev/ttyS3"));
    const PortChoice address = PortChoice::ofAddress(QStringLiteral(" tcp://rack-7:4001 "));
    EXPECT_TRUE(address.isChosen());
    EXPECT_EQ(address.comNo(), 0);
    EXPECT_EQ(address.device(), QStringLiteral("tcp://rack-7:4001"));
    for (const PortChoice &none : {PortChoice(), PortChoice::ofOption(9), PortChoice::ofAddress(QStringLiteral(" "))})
        EXPECT_FALSE(none.isChosen());
}
