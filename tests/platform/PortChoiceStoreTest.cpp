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
        {3, {}},
        {0, QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A6008isP-if00-port0")},
        {0, QStringLiteral("rfc2217://192.168.1.20:7000")},
        {8, {}},
    };
    for (const PortChoice &choice : choices) {
        {
            QSettings settings(file, QSettings::IniFormat);
            PortChoiceStore(settings).save(choice);
        }
        QSettings next(file, QSettings::IniFormat); // the next start
        EXPECT_EQ(PortChoiceStore(next).load(), choice) << choice.portAddress().toStdString();
    }
}

TEST(PortChoiceStore, NothingOrNonsenseKeptMeansNoChoice)
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("o.conf")), QSettings::IniFormat);
    PortChoiceStore store(settings);
    EXPECT_TRUE(store.load().isEmpty());
    for (const QVariant &bad : {QVariant(0), QVariant(9), QVariant(QStringLiteral("three"))}) {
        settings.setValue(QStringLiteral("port/option"), bad);
        EXPECT_TRUE(store.load().isEmpty()) << bad.toString().toStdString();
    }
    store.save({0, QStringLiteral("tcp://h:1")});
    store.forget();
    EXPECT_TRUE(store.load().isEmpty());
}

TEST(PortChoice, TheEngineOpensTheAddressOrTheOptionsNumber)
{
    EXPECT_EQ((PortChoice{4, {}}).portAddress(), QStringLiteral("4"));
    EXPECT_EQ((PortChoice{0, QStringLiteral("/dev/ttyUSB1")}).portAddress(), QStringLiteral("/dev/ttyUSB1"));
    EXPECT_TRUE(PortChoice{}.portAddress().isEmpty());
}
