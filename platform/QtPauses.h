#pragma once

#include "platform/Pauses.h"

// Pauses in a local event loop, so the window keeps repainting and answering while it waits.
class QtPauses : public Pauses {
public:
    void Pause(int milliseconds) override;
    void ProcessEvents() override;
};
