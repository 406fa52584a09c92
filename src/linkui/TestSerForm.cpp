#include "TestSerForm.h"

#include "DesignFont.h"
#include "DialogFrame.h"
#include "PortListPanel.h"
#include "Twips.h"

#include "link/LinkTimer.h"
#include "netserial/SerialPortNames.h"
#include "platform/StablePortName.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {
// The eight options keep their place on the left; the device names and the
// ports present take the room to their right and below.
constexpr int ClientWidth = 9180;
constexpr int ClientHeight = 3960;
constexpr int DeviceLeft = 1065;
constexpr int DeviceWidth = 2445;
constexpr int PanelLeft = 3630;
constexpr int PanelTop = 90;
constexpr int PanelWidth = 5460;
constexpr int PanelHeight = 3780;
} // namespace

TestSerForm::TestSerForm(std::function<PortChoice()> port, PortDiscovery &discovery,
                         std::unique_ptr<LinkTimer> refreshTimer, QWidget *owner)
    : QWidget(owner), m_port(std::move(port))
{
    setObjectName(QStringLiteral("TestSerForm"));
    setWindowTitle(QStringLiteral("Comポート設定"));
    DialogFrame::apply(this, ClientWidth, ClientHeight);
    applyDesignFont(this);

    static constexpr int optionTop[8] = {90, 375, 660, 945, 1245, 1530, 1815, 2100};
    for (int i = 0; i < 8; ++i) {
        portOptions[i] = new QRadioButton(QStringLiteral("Com%1").arg(i + 1), this);
        portOptions[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Twips::place(portOptions[i], 90, optionTop[i], 945, 285);
        // Which device the option stands for (ORVEX_COM<n> where set), so
        // the simulator, a USB adapter and the built-in ports can be told
        // apart; a long path is cut in its middle, whole in the tooltip.
        const QString device = SerialPortNames::deviceForPort(i + 1);
        portOptions[i]->setToolTip(device);
        portDevices[i] = new QLabel(this);
        portDevices[i]->setObjectName(QStringLiteral("Device_%1").arg(i));
        Twips::place(portDevices[i], DeviceLeft, optionTop[i], DeviceWidth, 285);
        portDevices[i]->setText(portDevices[i]->fontMetrics().elidedText(device, Qt::ElideMiddle,
                                                                          portDevices[i]->width()));
        portDevices[i]->setToolTip(device);
        connect(portOptions[i], &QRadioButton::clicked, this, [this, i] { choosePort(i); });
    }
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("Command3"));
    Twips::place(okButton, 240, 2490, 1395, 345);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &TestSerForm::confirm);

    portPanel = new PortListPanel(discovery, std::move(refreshTimer), m_port, this);
    portPanel->setObjectName(QStringLiteral("PortListPanel"));
    Twips::place(portPanel, PanelLeft, PanelTop, PanelWidth, PanelHeight);
    connect(portPanel, &PortListPanel::addressChosen, this, &TestSerForm::chooseAddress);
}

void TestSerForm::Form_Load()
{
    const PortChoice port = m_port();
    if (port.isAddress())
        chooseAddress(port.address());
    else
        choosePort(port.isOption() ? port.option() - 1 : 0);
}

void TestSerForm::choosePort(int index)
{
    choose(PortChoice::ofOption(index + 1));
}

void TestSerForm::chooseAddress(const QString &address)
{
    // A USB adapter is kept by its by-id name, which stays the same when it
    // is plugged in again and gets another number.
    choose(PortChoice::ofAddress(StablePortName::toRemember(address, portPanel->ports())));
}

void TestSerForm::choose(const PortChoice &port)
{
    emit portChosen(port);
    showPortInUse();
}

void TestSerForm::showPortInUse()
{
    const PortChoice port = m_port();
    if (port.isOption())
        portOptions[port.option() - 1]->setChecked(true);
    else
        uncheckOptions();
    portPanel->showChoice();
}

void TestSerForm::uncheckOptions()
{
    // Options of one parent exclude each other, and an exclusive option
    // cannot be unchecked while it is the checked one.
    for (QRadioButton *option : portOptions) {
        if (!option->isChecked())
            continue;
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
}

void TestSerForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // Enter in the address field uses a new address first, so the operator
    // reads "使用するポート:" before confirming it; a wrong one keeps the
    // dialog open with the reason beside it.
    if (focusWidget() == portPanel->addressEdit && portPanel->typedAddressIsNew()) {
        portPanel->useTypedAddress();
        return;
    }
    confirm();
}

void TestSerForm::confirm()
{
    close();
    emit portConfirmed();
}
