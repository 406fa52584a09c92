#pragma once

// Lets pending window events run once. Sending a frame does this right after
// opening the port so the window stays responsive during long writes; a
// port event, a tick or a click may therefore be handled in the middle of a
// send. The real pump calls QCoreApplication::processEvents(); tests pass
// one that does nothing or that injects an event.
class EventPump
{
public:
    virtual ~EventPump() = default;
    virtual void processOnce() = 0;
};
