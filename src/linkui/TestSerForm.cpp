#include "TestSerForm.h"

#include "DesignFont.h"
#include "DialogFrame.h"
#include "SerForm.h"
#include "Twips.h"

#include "core/TitleData.h"
#include "platform/SerialPortNames.h"

#include <QPushButton>
#include <QRadioButton>

TestSerForm::TestSerForm(TitleData &data, std::function<SerForm &()> serialControl, QWidget *owner)
    : QWidget(owner), m_data(data), m_serialControl(std::move(serialControl))
{
    setObjectName(QStringLiteral("TestSerForm"));
    setWindowTitle(QStringLiteral("Comポート設定"));
    DialogFrame::apply(this, 1935, 2895);
    applyDesignFont(this);

    static constexpr int optionTop[8] = {90, 375, 660, 945, 1245, 1530, 1815, 2100};
    for (int i = 0; i < 8; ++i) {
        portOptions[i] = new QRadioButton(QStringLiteral("Com%1").arg(i + 1), this);
        portOptions[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Twips::place(portOptions[i], 90, optionTop[i], 945, 285);
        // Which device the port stands for, so the operator can tell the
        // simulator, a USB adapter and the built-in ports apart.
        portOptions[i]->setToolTip(SerialPortNames::deviceForPort(i + 1));
        connect(portOptions[i], &QRadioButton::clicked, this, [this, i] { choosePort(i); });
    }
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("Command3"));
    Twips::place(okButton, 240, 2490, 1395, 345);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &TestSerForm::confirm);

    Form_Load();
}

void TestSerForm::Form_Load()
{
    // Selecting the option counts as clicking it, so opening the dialog
    // closes an open port.
    const int index = m_data.ComNo >= 1 && m_data.ComNo <= 8 ? m_data.ComNo - 1 : 0;
    portOptions[index]->setChecked(true);
    choosePort(index);
}

void TestSerForm::choosePort(int index)
{
    m_data.ComNo = qint16(index + 1);
    SerForm &serial = m_serialControl();
    if (serial.portOpen())
        serial.closePort();
    serial.setCommPort(m_data.ComNo);
}

void TestSerForm::confirm()
{
    close();
    emit portConfirmed();
}
