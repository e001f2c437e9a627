#pragma once

#include "platform/LaunchPlan.h"
#include "wine/FoundPrefix.h"

#include <string>
#include <vector>

class GamePrefixes;

// A Windows program to start in a prefix: its native path, its arguments and the folder it runs
// in, and the player's home (some managers keep files there, outside their own folders).
struct ProgramToRun {
    std::string program;
    std::vector<std::string> arguments;
    std::string workingFolder;
    std::string home;
};

// The plan that starts a Windows program in a prefix as the prefix's manager would start a
// program there: Steam's Proton inside the runtime it requires, Lutris's and Heroic's Wine or
// Proton (through umu-run where they use it), Bottles' runner, each with the game's or bottle's
// own settings, inside the manager's Flatpak sandbox where it is one; for a prefix of no
// manager, wine from PATH.
LaunchPlan PlanPrefixLaunch(const FoundPrefix& prefix, const ProgramToRun& run);

// The planner the program starter asks: a native program runs as it is; a Windows program runs
// through $WINE when the player set it (in the prefix in use), else as PlanPrefixLaunch says.
class PrefixLaunchPlanner : public LaunchPlanner {
public:
    // prefixes: the prefix in use (none: $WINEPREFIX or ~/.wine); startFolder: the folder the
    // utility was started in, against which a relative $WINE is taken.
    PrefixLaunchPlanner(const GamePrefixes* prefixes, std::string startFolder);
    LaunchPlan Plan(const std::string& nativeProgram, const std::vector<std::string>& arguments,
                    const std::string& workingFolder) const override;

private:
    const GamePrefixes* prefixes_;
    std::string startFolder_;
};
