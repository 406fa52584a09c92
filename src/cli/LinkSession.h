#pragma once

#include "LinkTextView.h"
#include "link/DeviceLink.h"
#include "platform/QtLinkPlatform.h"
#include "platform/QtLinkTimer.h"
#include "platform/AddressedSerialPort.h"

#include <memory>

class TransferLog;
struct TitleData;

// One run of the device link for a subcommand: the port (a device, a
// network serial server, or a far computer's engine through ssh) named by
// a --port argument, the Qt timers, and the link showing on a text view.
class LinkSession
{
public:
    LinkSession(TitleData &data, const QString &address, LinkTextView &view);

    DeviceLink &engine() { return *m_engine; }
    // Runs events until the view hears the end of the operation or the
    // engine gives up; true when the operation ended normally.
    bool wait();
    // The operator stopped the program: the operation is abandoned (a bulk
    // write reports so) and wait() returns.
    void interrupt();
    // Before anything decides what to send: when the newest write of this
    // address in `log` ran on a far computer and its end was never seen
    // here, asks that computer what it did and adds its record to `log`.
    // False when it could not be asked (the reason already shown).
    bool settleFarWrite(const TransferLog &log);

private:
    LinkTextView &m_view;
    QString m_address;
    QtLinkPlatform m_platform;
    AddressedSerialPort m_port;
    QtLinkTimer m_chReqTimer;
    QtLinkTimer m_rxTimer;
    std::unique_ptr<DeviceLink> m_engine;
};
