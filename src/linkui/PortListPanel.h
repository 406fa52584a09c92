#pragma once

#include "netserial/PortChoice.h"
#include "platform/PortDiscovery.h"

#include <QWidget>

#include <functional>
#include <memory>

class LinkTimer;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The right-hand part of the port dialog: the ports present now, kept
// current while the dialog is open, and a field for an address of any other
// kind (a device path, tcp://HOST:PORT, rfc2217://HOST:PORT). Picking a
// listed port or using a valid typed address is a choice; the dialog
// applies it, and the panel marks the port in use as its dialog's owner
// holds it.
class PortListPanel : public QWidget
{
    Q_OBJECT
public:
    // Reads the list at once and again at every tick of `refreshTimer`;
    // `port` gives the port in use.
    PortListPanel(PortDiscovery &discovery, std::unique_ptr<LinkTimer> refreshTimer,
                  std::function<PortChoice()> port, QWidget *parent);
    ~PortListPanel() override;

    // How often the list is read again: a port plugged in shows within
    // about a second.
    static constexpr int RefreshInterval = 1000;

    // Reads the ports present; the list is rebuilt only when they changed.
    void refresh();
    const QList<PortInfo> &ports() const { return m_ports; }

    // Marks the port in use: an address by its row, or in the field when no
    // row stands for it; one of the eight options by its device only.
    void showChoice();
    // Takes the typed address: false, with the reason shown, when it is not
    // one.
    bool useTypedAddress();
    // Something is typed that is not the port in use (a listed port counts
    // by its stable name too).
    bool typedAddressIsNew() const;

    QListWidget *portList = nullptr;
    QLineEdit *addressEdit = nullptr;
    QPushButton *useButton = nullptr;
    QLabel *problemLabel = nullptr;
    QLabel *chosenLabel = nullptr;

signals:
    void addressChosen(const QString &address);

private:
    void rebuildList();
    void selectChosenRow();
    void takeSelectedRow();

    PortDiscovery &m_discovery;
    std::unique_ptr<LinkTimer> m_refreshTimer;
    std::function<PortChoice()> m_port;
    QList<PortInfo> m_ports;
};
