// The port dialog beside its eight options: the ports present (scripted),
// kept current in virtual time, a typed address, the remembered choice at
// the next start, and Enter.

#include "LinkUiFixture.h"

#include "support/QtPrinters.h"

#include "linkui/PortListPanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString UsbById = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A6008isP-if00-port0");

QStringList rows(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

QStringList selectedRows(const QListWidget *list)
{
    QStringList texts;
    for (const QListWidgetItem *item : list->selectedItems())
        texts << item->text();
    return texts;
}

bool anyOptionChecked(const TestSerForm &dialog)
{
    return std::any_of(dialog.portOptions.begin(), dialog.portOptions.end(),
                       [](const QRadioButton *option) { return option->isChecked(); });
}

} // namespace

class PortListTest : public LinkUiFixture
{
protected:
    void SetUp() override
    {
        portDiscovery.present = ScriptedPortDiscovery::typical();
        LinkUiFixture::SetUp();
    }

    TestSerForm &openDialog()
    {
        flushDeletes(); // a dialog closed before is gone
        windows->choosePort();
        return *windows->testSerForm();
    }
    PortListPanel &panel() { return *windows->testSerForm()->portPanel; }

    // The program ends and starts again on the same settings.
    void restart()
    {
        windows.reset();
        flushDeletes();
        data = std::make_unique<TitleData>();
        data->setDefaults();
        startWindows();
    }

    void typeAddress(const QString &text)
    {
        panel().addressEdit->setFocus();
        panel().addressEdit->clear();
        QTest::keyClicks(panel().addressEdit, text);
    }
};

TEST_F(PortListTest, ListsThePortsPresentInWordsAndWhatEachOptionStandsFor)
{
    qunsetenv("ORVEX_COM1");
    qputenv("ORVEX_COM2", "/tmp/orvex-sim-pty");
    TestSerForm &dialog = openDialog();
    EXPECT_EQ(rows(panel().portList),
              (QStringList{QStringLiteral("/dev/ttyS0"),
                           QStringLiteral("/dev/ttyUSB0\n    FT232R USB UART（FTDI、シリアル番号 A6008isP）")}));
    EXPECT_EQ(panel().portList->item(1)->toolTip(), UsbById);
    EXPECT_EQ(dialog.portDevices[0]->text(), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(dialog.portDevices[1]->text(), QStringLiteral("/tmp/orvex-sim-pty"));
    EXPECT_EQ(panel().chosenLabel->text(), QStringLiteral("使用するポート: /dev/ttyS0"));
    qunsetenv("ORVEX_COM2");

    // A machine without ports says so, with nothing to pick.
    dialog.close();
    flushDeletes();
    portDiscovery.present.clear();
    openDialog();
    ASSERT_EQ(panel().portList->count(), 1);
    EXPECT_EQ(panel().portList->item(0)->text(), QStringLiteral("（見つかりません）"));
    EXPECT_EQ(panel().portList->item(0)->flags(), Qt::NoItemFlags);
}

TEST_F(PortListTest, APluggedAdapterAppearsWithinASecondAndAPulledOneGoes)
{
    const QList<PortInfo> both = portDiscovery.present;
    portDiscovery.present = {both[0]};
    TestSerForm &dialog = openDialog();
    ASSERT_EQ(panel().portList->count(), 1);

    portDiscovery.present = both;
    platform.clock.advance(PortListPanel::RefreshInterval - 1);
    EXPECT_EQ(panel().portList->count(), 1);
    platform.clock.advance(1);
    EXPECT_EQ(panel().portList->count(), 2);

    // The adapter chosen, pulled and plugged in again: its row goes, and
    // comes back chosen.
    panel().portList->item(1)->setSelected(true);
    ASSERT_EQ(port().devicePath(), UsbById);
    portDiscovery.present = {both[0]};
    platform.clock.advance(PortListPanel::RefreshInterval);
    EXPECT_EQ(rows(panel().portList), QStringList{QStringLiteral("/dev/ttyS0")});
    EXPECT_TRUE(selectedRows(panel().portList).isEmpty());
    EXPECT_EQ(port().devicePath(), UsbById) << "a pulled port is no choice of the operator's";
    portDiscovery.present = both;
    platform.clock.advance(PortListPanel::RefreshInterval);
    EXPECT_EQ(selectedRows(panel().portList), QStringList{panel().portList->item(1)->text()});

    // The list is read only while the dialog is open.
    dialog.close();
    flushDeletes();
    const int calls = portDiscovery.calls;
    platform.clock.advance(5 * PortListPanel::RefreshInterval);
    EXPECT_EQ(portDiscovery.calls, calls);
}

TEST_F(PortListTest, AListedAdapterIsUsedAndRememberedByItsStableName)
{
    openSerForm();
    platform.clock.advance(2000);
    ASSERT_TRUE(port().isOpen()); // a poll awaits its reply

    TestSerForm &dialog = openDialog();
    panel().portList->item(1)->setSelected(true);
    EXPECT_FALSE(port().isOpen()) << "a new choice closes the open port at once";
    EXPECT_EQ(port().devicePath(), UsbById);
    EXPECT_FALSE(anyOptionChecked(dialog));
    EXPECT_EQ(windows->port(), PortChoice::ofAddress(UsbById));
    EXPECT_EQ(data->ComNo, 0) << "no option";
    EXPECT_EQ(panel().chosenLabel->text(), QStringLiteral("使用するポート: ") + UsbById);
    EXPECT_FALSE(portChoices.store.load().isChosen()) << "nothing is kept before OK";

    dialog.okButton->click();
    EXPECT_EQ(portChoices.store.load(), PortChoice::ofAddress(UsbById));
    EXPECT_EQ(windows->existingSerForm()->windowTitle(), QStringLiteral("8CH-Orvex [通信] - ") + UsbById);

    // Back to an option: the address is dropped, the option kept.
    openDialog().portOptions[2]->click();
    EXPECT_EQ(port().portNumber, 3);
    EXPECT_EQ(port().devicePath(), QStringLiteral("/dev/ttyS2"));
    EXPECT_TRUE(selectedRows(panel().portList).isEmpty());
    windows->testSerForm()->okButton->click();
    EXPECT_EQ(portChoices.store.load(), PortChoice::ofOption(3));
}

TEST_F(PortListTest, ATypedAddressIsUsedWhenValidAndExplainedWhenNot)
{
    struct Case
    {
        const char *typed;
        const char *used;    // empty: refused
        const char *message; // part of the reason shown
    };
    const Case cases[] = {
        {"tcp://127.0.0.1:2000", "tcp://127.0.0.1:2000", ""},
        {" rfc2217://[::1]:2001 ", "rfc2217://[::1]:2001", ""},
        {"/dev/null", "/dev/null", ""},
        {"/", nullptr, "「/」はフォルダです。シリアルポートではありません。"},
        {"/dev/nonexistent", nullptr, "「/dev/nonexistent」はありません。"},
        {"/dev/ttyUSB0", "", ""}, // listed: kept by its stable name
        {"", nullptr, "アドレスを入力して下さい"},
        {"tcp://rack-7", nullptr, "ホスト名とポート番号が要ります"},
        {"tcp://rack-7:70000", nullptr, "1～65535"},
        {"tcp://::1:2000", nullptr, "[ ] で囲んで"},
        {"udp://rack-7:2000", nullptr, "rfc2217+tls:// か ssh://"},
        {"9", nullptr, "1～8"},
    };
    openDialog();
    for (const Case &c : cases) {
        port().setDevicePath(QStringLiteral("before"));
        typeAddress(QString::fromUtf8(c.typed));
        panel().useButton->click();
        if (c.used == nullptr) {
            EXPECT_EQ(port().devicePath(), QStringLiteral("before")) << c.typed;
            EXPECT_FALSE(panel().problemLabel->isHidden()) << c.typed;
            EXPECT_TRUE(panel().problemLabel->text().contains(QString::fromUtf8(c.message)))
                << c.typed << ": " << qPrintable(panel().problemLabel->text());
            continue;
        }
        const QString used = *c.used ? QString::fromUtf8(c.used) : UsbById;
        EXPECT_EQ(port().devicePath(), used) << c.typed;
        EXPECT_TRUE(panel().problemLabel->isHidden()) << c.typed;
        EXPECT_EQ(windows->port(), PortChoice::ofAddress(used)) << c.typed;
    }
    // Typing again takes the old reason away.
    typeAddress(QStringLiteral("tcp://"));
    EXPECT_TRUE(panel().problemLabel->isHidden());
}

TEST_F(PortListTest, EnterInTheAddressFieldUsesTheAddressAndEnterAgainConfirmsIt)
{
    // Elsewhere Enter is "OK".
    openDialog().portOptions[3]->setFocus();
    QTest::keyClick(windows->testSerForm()->portOptions[3], Qt::Key_Return);
    flushDeletes();
    ASSERT_EQ(windows->testSerForm(), nullptr);
    EXPECT_TRUE(windows->existingSerForm()->isVisible());
    EXPECT_EQ(portChoices.store.load(), PortChoice::ofOption(1));

    openDialog();
    panel().portList->setFocus();
    QTest::keyClick(panel().portList, Qt::Key_Enter);
    flushDeletes();
    EXPECT_EQ(windows->testSerForm(), nullptr);

    // In the field: a wrong address is explained, a good one used and shown
    // but neither confirmed nor remembered until the next Enter.
    openDialog();
    typeAddress(QStringLiteral("tcp://rack-7"));
    QTest::keyClick(panel().addressEdit, Qt::Key_Return);
    flushDeletes();
    ASSERT_NE(windows->testSerForm(), nullptr);
    EXPECT_FALSE(panel().problemLabel->isHidden());

    typeAddress(QStringLiteral("tcp://rack-7:4001"));
    QTest::keyClick(panel().addressEdit, Qt::Key_Return);
    flushDeletes();
    ASSERT_NE(windows->testSerForm(), nullptr);
    EXPECT_EQ(panel().chosenLabel->text(), QStringLiteral("使用するポート: tcp://rack-7:4001"));
    EXPECT_EQ(port().devicePath(), QStringLiteral("tcp://rack-7:4001"));
    EXPECT_EQ(portChoices.store.load(), PortChoice::ofOption(1)) << "not remembered before it is confirmed";

    QTest::keyClick(panel().addressEdit, Qt::Key_Return);
    flushDeletes();
    EXPECT_EQ(windows->testSerForm(), nullptr);
    EXPECT_EQ(portChoices.store.load(), PortChoice::ofAddress(QStringLiteral("tcp://rack-7:4001")));

    // A listed port typed by its system name is in use by its stable name:
    // the second Enter confirms it too.
    openDialog();
    typeAddress(QStringLiteral("/dev/ttyUSB0"));
    QTest::keyClick(panel().addressEdit, Qt::Key_Return);
    flushDeletes();
    ASSERT_NE(windows->testSerForm(), nullptr);
    QTest::keyClick(panel().addressEdit, Qt::Key_Return);
    flushDeletes();
    EXPECT_EQ(windows->testSerForm(), nullptr);
    EXPECT_EQ(portChoices.store.load(), PortChoice::ofAddress(UsbById));
}

TEST_F(PortListTest, TheConfirmedPortIsUsedAtTheNextStartWithoutAsking)
{
    openDialog();
    typeAddress(QStringLiteral("tcp://127.0.0.1:2000"));
    panel().useButton->click();
    windows->testSerForm()->okButton->click();

    restart();
    EXPECT_TRUE(windows->port().isChosen());
    windows->openCommunication();
    EXPECT_EQ(windows->testSerForm(), nullptr) << "no question";
    ASSERT_NE(windows->existingSerForm(), nullptr);
    EXPECT_TRUE(windows->existingSerForm()->isVisible());
    EXPECT_EQ(port().devicePath(), QStringLiteral("tcp://127.0.0.1:2000"));

    // The dialog, opened from the menu, shows it in use.
    TestSerForm &dialog = openDialog();
    EXPECT_FALSE(anyOptionChecked(dialog));
    EXPECT_EQ(panel().addressEdit->text(), QStringLiteral("tcp://127.0.0.1:2000"));
    dialog.portOptions[4]->click();
    dialog.okButton->click();
    flushDeletes();
    restart();
    EXPECT_EQ(data->ComNo, 5);
    windows->openCommunication();
    EXPECT_EQ(port().portNumber, 5);

    // An adapter remembered by its system name is kept by its stable name
    // once it is seen with one.
    portChoices.store.save(PortChoice::ofAddress(QStringLiteral("/dev/ttyUSB0")));
    restart();
    openDialog().okButton->click();
    EXPECT_EQ(portChoices.store.load(), PortChoice::ofAddress(UsbById));

    // A closed dialog keeps its choice for this run only.
    openDialog().portOptions[1]->click();
    windows->testSerForm()->close();
    flushDeletes();
    EXPECT_EQ(portChoices.store.load(), PortChoice::ofAddress(UsbById));
}

TEST_F(PortListTest, ARememberedPortThatHasGoneIsOneMessageThenTheDialogOffersItAgain)
{
    portDiscovery.present = {ScriptedPortDiscovery::typical()[0]};
    portChoices.store.save(PortChoice::ofAddress(UsbById));
    restart();
    platform.openFails = true;
    windows->openCommunication();
    platform.clock.advance(2000);

    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].contains(UsbById)) << qPrintable(boxes.texts[0]);
    EXPECT_EQ(data->ComNo, 0);
    flushDeletes();
    EXPECT_EQ(windows->existingSerForm(), nullptr);

    // The next "データ送受信" asks, with the port that went still chosen: it
    // is in the field, and its row is marked once it is back.
    platform.openFails = false;
    windows->openCommunication();
    TestSerForm *dialog = windows->testSerForm();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(anyOptionChecked(*dialog));
    EXPECT_EQ(panel().addressEdit->text(), UsbById);
    EXPECT_EQ(port().devicePath(), UsbById);
    EXPECT_EQ(windows->port(), PortChoice::ofAddress(UsbById));
    portDiscovery.present = ScriptedPortDiscovery::typical();
    platform.clock.advance(PortListPanel::RefreshInterval);
    EXPECT_EQ(selectedRows(panel().portList), QStringList{panel().portList->item(1)->text()});
    EXPECT_EQ(portChoices.store.load(), PortChoice::ofAddress(UsbById)) << "still remembered for the next start";
}
