#pragma once

#include "netserial/PortChoice.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class LinkTimer;
class PortDiscovery;
class PortListPanel;
class QLabel;
class QPushButton;
class QRadioButton;

// TestSerForm ("serial test form") "Comポート設定": picks the port of the
// communication window, which takes it at once: one of the eight options
// (ComNo 1..8), or beside them a port present now or a typed address. It
// shows the port its owner holds and asks for changes; it keeps none of its
// own. Created for each showing; "OK" and the close box destroy it.
class TestSerForm : public QWidget
{
    Q_OBJECT
public:
    // `port` gives the port in use; `refreshTimer` paces the reading of
    // the ports present.
    TestSerForm(std::function<PortChoice()> port, PortDiscovery &discovery, std::unique_ptr<LinkTimer> refreshTimer,
                QWidget *owner);

    // Opening: chooses the port in use, or Com1 when there is none, as if
    // the operator had; so opening the dialog closes an open port.
    void Form_Load();

    std::array<QRadioButton *, 8> portOptions{};
    // Beside each option: the device it stands for.
    std::array<QLabel *, 8> portDevices{};
    PortListPanel *portPanel = nullptr;
    QPushButton *okButton = nullptr; // OK

signals:
    // A port was chosen (a USB adapter by its stable name); the owner uses
    // it, and the dialog then shows what the owner holds.
    void portChosen(const PortChoice &port);
    // "OK": the dialog is closing; show the communication window.
    void portConfirmed();

protected:
    // Enter presses "OK"; in the address field it first uses an address
    // other than the one in use, and the next Enter confirms it.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void choosePort(int index);
    void chooseAddress(const QString &address);
    void choose(const PortChoice &port);
    void showPortInUse();
    void uncheckOptions();
    void confirm();

    std::function<PortChoice()> m_port;
};
