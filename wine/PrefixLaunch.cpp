#include "wine/PrefixLaunch.h"

#include "platform/Paths.h"
#include "platform/RegularFile.h"
#include "wine/BottlesLaunch.h"
#include "wine/GamePrefixes.h"
#include "wine/HeroicLaunch.h"
#include "wine/LutrisLaunch.h"
#include "wine/SteamLaunch.h"
#include "wine/WinePrograms.h"

#include <unistd.h>
#include <utility>

namespace {

bool IsWindowsProgram(const std::string& nativePath) {
    const int fd = OpenRegularFile(nativePath); // a FIFO named like the game never blocks
    if (fd < 0)
        return false;
    char magic[2] = {};
    const bool mz = read(fd, magic, 2) == 2 && magic[0] == 'M' && magic[1] == 'Z';
    close(fd);
    return mz;
}

LaunchPlan WithWine(const std::string& wine, const FoundPrefix& prefix, const ProgramToRun& run) {
    LaunchPlan plan;
    plan.workingFolder = run.workingFolder;
    plan.command = {wine, run.program};
    plan.command.insert(plan.command.end(), run.arguments.begin(), run.arguments.end());
    plan.environment.emplace_back("WINEPREFIX", prefix.folder);
    return plan;
}

} // namespace

LaunchPlan PlanPrefixLaunch(const FoundPrefix& prefix, const ProgramToRun& run) {
    switch (prefix.manager) {
    case PrefixManager::Steam:
        return PlanSteamLaunch(prefix, run);
    case PrefixManager::Lutris:
        return PlanLutrisLaunch(prefix, run);
    case PrefixManager::Bottles:
        return PlanBottlesLaunch(prefix, run);
    case PrefixManager::Heroic:
        return PlanHeroicLaunch(prefix, run);
    case PrefixManager::Wine:
        break;
    }
    const std::string wine = FindOnPath("wine");
    if (wine.empty()) {
        LaunchPlan plan;
        plan.failure = kWineMissing;
        return plan;
    }
    return WithWine(wine, prefix, run);
}

PrefixLaunchPlanner::PrefixLaunchPlanner(const GamePrefixes* prefixes, std::string startFolder)
    : prefixes_(prefixes), startFolder_(std::move(startFolder)) {}

LaunchPlan PrefixLaunchPlanner::Plan(const std::string& nativeProgram,
                                     const std::vector<std::string>& arguments,
                                     const std::string& workingFolder) const {
    if (!IsWindowsProgram(nativeProgram))
        return NativeProgramPlan(nativeProgram, arguments, workingFolder);
    FoundPrefix plain;
    plain.folder = WinePrefix();
    const FoundPrefix& prefix = prefixes_ ? prefixes_->Current() : plain;
    const ProgramToRun run{nativeProgram, arguments, workingFolder, HomeFolder()};
    // The player's own Wine wins over any manager's.
    if (const std::string named = NamedWineProgram(startFolder_); !named.empty())
        return WithWine(named, prefix, run);
    return PlanPrefixLaunch(prefix, run);
}
