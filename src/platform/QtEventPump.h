#pragma once

#include "link/EventPump.h"

// Runs the pending Qt events once.
class QtEventPump : public EventPump
{
public:
    void processOnce() override;
};
