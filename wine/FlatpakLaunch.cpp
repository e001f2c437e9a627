#include "wine/FlatpakLaunch.h"

#include "wine/WinePrograms.h"

LaunchPlan InFlatpakSandbox(const std::string& appId, const std::string& managerName,
                            const LaunchPlan& inside) {
    LaunchPlan plan;
    plan.workingFolder = inside.workingFolder;
    if (!inside.failure.empty() || inside.command.empty()) {
        plan.failure = inside.failure;
        return plan;
    }
    const std::string flatpak = FindOnPath("flatpak");
    if (flatpak.empty()) {
        plan.failure = managerName + " is installed as a Flatpak (" + appId +
                       "), so the game runs in its sandbox, but the program \"flatpak\" was not "
                       "found. Install the package flatpak.";
        return plan;
    }
    plan.command = {flatpak, "run", "--command=" + inside.command.front()};
    if (!inside.workingFolder.empty())
        plan.command.push_back("--cwd=" + inside.workingFolder);
    for (const auto& [name, value] : inside.environment)
        plan.command.push_back("--env=" + name + "=" + value);
    for (const std::string& name : inside.unset)
        plan.command.push_back("--unset-env=" + name);
    plan.command.push_back(appId);
    plan.command.insert(plan.command.end(), inside.command.begin() + 1, inside.command.end());
    return plan;
}
