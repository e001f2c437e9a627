#pragma once

#include "platform/Pauses.h"

// Pauses that run a local event loop, so windows repaint and input is handled meanwhile.
class EventLoopPauses : public Pauses {
public:
    void Pause(int milliseconds) override;
    void ProcessEvents() override;
};
