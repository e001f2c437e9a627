#pragma once

// Waiting while the window stays responsive. Tests use virtual time.
class Pauses {
public:
    virtual ~Pauses() = default;
    virtual void Pause(int milliseconds) = 0; // keeps processing window events
    virtual void ProcessEvents() = 0;         // handles pending window events once
};
