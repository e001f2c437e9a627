#pragma once

#include "platform/LaunchPlan.h"
#include "platform/ProgramStarter.h"

#include <memory>
#include <string>

// Starts the game and opens documents and links with the desktop's programs. How the game is
// started (through which Wine, with which environment) is the planner's to say; this class
// carries the plan out: the program in a session of its own, input from /dev/null, output into
// the output log, and the process reaped as soon as it ends.
class DesktopProgramStarter : public ProgramStarter {
public:
    // planner: turns the program into a plan; without one the program itself is run.
    // outputLog: the file the started program's output goes to, replaced at each start (its
    // folders are made private to the user when missing); empty: the utility's own output.
    explicit DesktopProgramStarter(const LaunchPlanner* planner = nullptr,
                                   std::string outputLog = {});
    ~DesktopProgramStarter() override;
    std::string Start(const std::string& program, const std::string& arguments,
                      const std::string& folder) override;
    bool StartedProgramRuns() override;
    std::optional<int> StartedProgramStatus() override;
    std::string OutputLog() const override { return outputLog_; }
    void Open(const std::string& documentOrUrl) override;

    struct Child;

private:
    // Carries out a plan; empty on success, else why it could not be started.
    std::string Execute(const LaunchPlan& plan);

    const LaunchPlanner* planner_;
    std::string outputLog_;
    std::shared_ptr<Child> started_;
};

// The output log's place: $XDG_STATE_HOME/zeltasc/game.log, else ~/.local/state/zeltasc/game.log.
std::string DefaultOutputLog();
