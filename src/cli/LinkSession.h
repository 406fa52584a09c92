#pragma once

#include "LinkTextView.h"
#include "link/LinkEngine.h"
#include "platform/QtEventPump.h"
#include "platform/QtLinkTimer.h"
#include "platform/QtSerialPortAdapter.h"

#include <memory>

struct TitleData;

// One run of the device link for a subcommand: the real port named by a
// --port argument, the Qt timers, and the engine showing on a text view.
class LinkSession
{
public:
    LinkSession(TitleData &data, const QString &device, LinkTextView &view);

    LinkEngine &engine() { return *m_engine; }
    // Runs events until the view hears the end of the operation or the
    // engine gives up; true when the operation ended normally.
    bool wait();
    // The operator stopped the program: the operation is abandoned (a bulk
    // write reports so) and wait() returns.
    void interrupt();

private:
    LinkTextView &m_view;
    QtSerialPortAdapter m_port;
    QtLinkTimer m_chReqTimer;
    QtLinkTimer m_rxTimer;
    QtEventPump m_pump;
    std::unique_ptr<LinkEngine> m_engine;
};
