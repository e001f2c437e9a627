#pragma once

#include <optional>
#include <string>

// Starts programs and opens documents the way the desktop shell would.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // Starts program (a path text) detached with the argument string, in folder. Returns an empty
    // text on success, otherwise the reason the program could not be started.
    virtual std::string Start(const std::string& program, const std::string& arguments,
                              const std::string& folder) = 0;
    // Whether the program last started (or the program it became by exec, such as the Wine
    // loader) still runs; false when none was started. The wait for the game asks it while no
    // game window has been seen yet.
    virtual bool StartedProgramRuns() = 0;
    // How the program last started ended, once it has: its status as waitpid reports it. None
    // while it runs or when none was started.
    virtual std::optional<int> StartedProgramStatus() { return std::nullopt; }
    // The file that holds the output of the program last started; empty when none is kept.
    virtual std::string OutputLog() const { return {}; }
    // Opens a document (path text) or a URL ("mailto:", "http://") with the desktop's program.
    // The outcome is not reported.
    virtual void Open(const std::string& documentOrUrl) = 0;
};
