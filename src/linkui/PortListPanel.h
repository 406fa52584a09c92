#pragma once

#include "platform/PortDiscovery.h"

#include <QWidget>

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
// applies it.
class PortListPanel : public QWidget
{
    Q_OBJECT
public:
    // Reads the list at once and again at every tick of `refreshTimer`.
    PortListPanel(PortDiscovery &discovery, std::unique_ptr<LinkTimer> refreshTimer, QWidget *parent);
    ~PortListPanel() override;

    // How often the list is read again: a port plugged in shows within
    // about a second.
    static constexpr int RefreshInterval = 1000;

    // Reads the ports present; the list is rebuilt only when they changed.
    void refresh();
    const QList<PortInfo> &ports() const { return m_ports; }

    // Marks what the dialog uses now: with `isAddress` a listed port (by its
    // device or stable name) or any other address, shown in the field;
    // otherwise the device of one of the eight options, which no row marks.
    void showChoice(const QString &address, bool isAddress);
    // Takes the typed address: false, with the reason shown, when it is not
    // one.
    bool useTypedAddress();

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
    QList<PortInfo> m_ports;
    QString m_chosen;
    bool m_chosenIsAddress = false;
};
