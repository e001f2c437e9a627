#pragma once

#include <string>
#include <utility>
#include <vector>

// How a program is started: decided by whoever knows the program (a Windows program runs through
// its prefix's manager, see wine/PrefixLaunch), carried out by the program starter. The started
// process is what tells that the game still runs: every plan runs a command that waits for the
// game (Proton's waitforexitandrun, umu-run, flatpak run, Wine's loader).
struct LaunchPlan {
    // The program to run (a native path) followed by its arguments.
    std::vector<std::string> command;
    // Variables set for it over the utility's own environment, in order (a later one wins).
    std::vector<std::pair<std::string, std::string>> environment;
    // Variables removed from the utility's environment for it (set by the utility for itself).
    std::vector<std::string> unset;
    std::string workingFolder;
    // Why the program cannot be started (shown to the player); empty when it can.
    std::string failure;
};

// Turns a program to start (a native path), its arguments and working folder into a plan.
class LaunchPlanner {
public:
    virtual ~LaunchPlanner() = default;
    virtual LaunchPlan Plan(const std::string& nativeProgram,
                            const std::vector<std::string>& arguments,
                            const std::string& workingFolder) const = 0;
};

// The plan for a native program: itself with its arguments, refused when it is not executable.
LaunchPlan NativeProgramPlan(const std::string& nativeProgram,
                             const std::vector<std::string>& arguments,
                             const std::string& workingFolder);
