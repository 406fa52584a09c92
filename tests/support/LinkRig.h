#pragma once

#include "FakeLinkView.h"
#include "FakeSerialPort.h"
#include "ScriptedDevice.h"
#include "VirtualClock.h"
#include "core/TitleData.h"
#include "link/EventPump.h"
#include "link/LinkEngine.h"

#include <functional>
#include <memory>

class ScriptedPump : public EventPump
{
public:
    void processOnce() override
    {
        if (onPump)
            onPump();
    }
    std::function<void()> onPump;
};

// An engine wired to fakes: a loaded window on port 1 with default title
// data and a device that answers every frame.
struct LinkRig
{
    LinkRig()
    {
        data.setDefaults();
        data.ComNo = 1;
        engine = std::make_unique<LinkEngine>(data, port, chReqTimer, rxTimer, pump, view);
    }

    // Frames written since the last call, as text with CR shown as "\r".
    QByteArrayList takeFrames()
    {
        QByteArrayList frames = port.written;
        port.written.clear();
        return frames;
    }

    // Runs virtual time until the engine reports the end of an operation
    // (or unloads its window).
    void runUntilEnded(long long limit = 60000)
    {
        const auto before = view.ended.size();
        for (long long t = 0; t < limit && view.ended.size() == before && !view.unloads; ++t)
            clock.advance(1);
    }

    void selectChannels(std::initializer_list<int> channels)
    {
        data.KakikomiCh.fill(false);
        for (int ch : channels)
            data.KakikomiCh[ch - 1] = true;
    }

    TitleData data;
    VirtualClock clock;
    FakeSerialPort port;
    VirtualTimer chReqTimer{clock};
    VirtualTimer rxTimer{clock};
    ScriptedPump pump;
    FakeLinkView view;
    ScriptedDevice device{port, clock};
    std::unique_ptr<LinkEngine> engine;
};
