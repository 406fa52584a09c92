#pragma once

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

struct TitleData;
class LinkTimer;
class PortDiscovery;
class PortListPanel;
class QLabel;
class QPushButton;
class QRadioButton;
class SerForm;

// TestSerForm ("serial test form") "Comポート設定": picks the port of the communication window and
// applies it to the window's serial control at once: one of the eight
// options (ComNo 1..8), or beside them a port present now or a typed
// address. Created for each showing; "OK" and the close box destroy it.
class TestSerForm : public QWidget
{
    Q_OBJECT
public:
    // `serialControl` returns the communication window, creating it hidden
    // if it does not exist yet. `chosenAddress` is the address in use (empty
    // when one of the eight options is); `refreshTimer` paces the reading
    // of the ports present.
    TestSerForm(TitleData &data, std::function<SerForm &()> serialControl, PortDiscovery &discovery,
                std::unique_ptr<LinkTimer> refreshTimer, const QString &chosenAddress, QWidget *owner);

    // The address in use; empty when one of the eight options is.
    const QString &chosenAddress() const { return m_address; }

    std::array<QRadioButton *, 8> portOptions{};
    // Beside each option: the device it stands for.
    std::array<QLabel *, 8> portDevices{};
    PortListPanel *portPanel = nullptr;
    QPushButton *okButton = nullptr; // OK

signals:
    // A port was chosen: an address (a stable name for a USB adapter), or
    // empty for one of the eight options (ComNo says which).
    void portChosen(const QString &address);
    // "OK": the dialog is closing; show the communication window.
    void portConfirmed();

protected:
    // Enter presses "OK", after taking an address being typed.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Load(const QString &chosenAddress);
    void choosePort(int index);
    void chooseAddress(const QString &address);
    void uncheckOptions();
    void confirm();

    TitleData &m_data;
    std::function<SerForm &()> m_serialControl;
    QString m_address;
};
