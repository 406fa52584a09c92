#pragma once

#include "LinkTextView.h"
#include "link/LinkEngine.h"
#include "platform/QtEventPump.h"
#include "platform/QtLinkTimer.h"
#include "platform/AddressedSerialPort.h"

#include <memory>

struct TitleData;

// One run of the device link for a subcommand: the port (a device or a
// network serial server) named by a --port argument, the Qt timers, and the engine showing on a text view.
class LinkSession
{
public:
    LinkSession(TitleData &data, const QString &address, LinkTextView &view);

    LinkEngine &engine() { return *m_engine; }
    // Runs events until the view hears the end of the operation or the
    // engine gives up; true when the operation ended normally.
    bool wait();
    // The operator stopped the program: the operation is abandoned (a bulk
    // write reports so) and wait() returns.
    void interrupt();

private:
    LinkTextView &m_view;
    AddressedSerialPort m_port;
    QtLinkTimer m_chReqTimer;
    QtLinkTimer m_rxTimer;
    QtEventPump m_pump;
    std::unique_ptr<LinkEngine> m_engine;
};
