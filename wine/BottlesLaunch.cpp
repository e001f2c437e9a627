#include "wine/BottlesLaunch.h"

#include "wine/FlatpakLaunch.h"
#include "wine/KeyValuesText.h"
#include "wine/ManagerEnvironment.h"
#include "wine/PrefixLaunch.h"
#include "wine/WinePrograms.h"
#include "wine/YamlScalars.h"

#include <cstdlib>
#include <unistd.h>

namespace {

bool Inside(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/';
}

// A Proton runner is known by its tool manifest, as Bottles knows it.
bool IsProtonRunner(const std::string& runner) {
    std::string text;
    if (!ReadSmallFile(runner + "/toolmanifest.vdf", text))
        return false;
    const KeyValuesNode manifest = KeyValuesNode::Parse(text);
    for (const char* key : {"compatmanager_layer_name", "commandline"})
        if (const KeyValuesNode* field = manifest.Find({"manifest", key});
            field && field->Value().find("proton") != std::string::npos)
            return true;
    return false;
}

} // namespace

LaunchPlan PlanBottlesLaunch(const FoundPrefix& prefix, const ProgramToRun& run) {
    LaunchPlan plan;
    plan.workingFolder = run.workingFolder;
    std::string text;
    ReadSmallFile(prefix.settingsFile, text);

    if (prefix.install == ManagerInstall::Flatpak) {
        // The Flatpak's runners are built for its sandbox: Bottles starts the program there.
        LaunchPlan inside;
        inside.workingFolder = run.workingFolder;
        inside.command = {"bottles-cli", "run", "-b", prefix.id, "-e", run.program, "--"};
        inside.command.insert(inside.command.end(), run.arguments.begin(), run.arguments.end());
        return InFlatpakSandbox("com.usebottles.bottles", "Bottles", inside);
    }

    const std::string runnerName = ReadYamlScalar(text, {"Runner"}).value_or("");
    const std::string arch = ReadYamlScalar(text, {"Arch"}).value_or("win64");
    std::string runner; // the runner's folder, whose libraries the program is given
    std::string wine;
    if (runnerName.empty() || runnerName.rfind("sys-", 0) == 0) {
        wine = FindOnPath("wine");
    } else if (IsPlainName(runnerName)) {
        const std::string folder = prefix.managerFolder + "/runners/" + runnerName;
        runner = folder;
        if (IsProtonRunner(folder))
            runner = IsFolder(folder + "/dist") ? folder + "/dist" : folder + "/files";
        wine = runner + "/bin/wine";
    }
    if (arch == "win64" && IsExecutableFile(wine + "64"))
        wine += "64";
    if (wine.empty() || !IsExecutableFile(wine)) {
        plan.failure = std::string(kWineMissing) + " The bottle's runner (" + runnerName +
                       ") is missing" + (wine.empty() ? "." : ":\r\r" + wine);
        return plan;
    }

    // Bottles adds its variables only where neither the bottle nor the utility's environment
    // has them (WINEPREFIX always; the DLL overrides and libraries after what is there).
    ManagerEnvironment env;
    env.Set("BOTTLE", ReadYamlScalar(text, {"Path"}).value_or(""));
    for (const auto& [name, value] : ReadYamlMapping(text, {"Environment_Variables"}))
        if (!name.empty())
            env.Set(name, value);
    auto add = [&env](const std::string& name, const std::string& value) {
        if (!std::getenv(name.c_str()))
            env.SetIfAbsent(name, value);
    };
    auto parameter = [&text](const char* name, bool fallback) {
        return YamlTruth(ReadYamlScalar(text, {"Parameters", name}).value_or(""), fallback);
    };
    if (const std::string language = ReadYamlScalar(text, {"Language"}).value_or("sys");
        language != "sys")
        add("LC_ALL", language.find('.') == std::string::npos ? language + ".UTF-8" : language);

    std::string overrides;
    for (const auto& [dll, mode] : ReadYamlMapping(text, {"DLL_Overrides"}))
        overrides += dll + "=" + mode + ";";
    overrides += "winemenubuilder=''";
    std::string existing;
    for (const auto& [name, value] : env.Entries())
        if (name == "WINEDLLOVERRIDES")
            existing = value;
    if (existing.empty() && std::getenv("WINEDLLOVERRIDES"))
        existing = std::getenv("WINEDLLOVERRIDES");
    env.Set("WINEDLLOVERRIDES", existing.empty() ? overrides : existing + ";" + overrides);

    if (!runner.empty()) {
        std::string libraries;
        for (const char* sub : {"lib", "lib64", "lib/wine/x86_64-unix", "lib32/wine/x86_64-unix",
                                "lib64/wine/x86_64-unix", "lib/wine/i386-unix",
                                "lib32/wine/i386-unix", "lib64/wine/i386-unix"})
            if (IsFolder(runner + "/" + sub))
                libraries += (libraries.empty() ? "" : ":") + runner + "/" + sub;
        if (!libraries.empty()) {
            const char* present = std::getenv("LD_LIBRARY_PATH");
            env.Set("LD_LIBRARY_PATH",
                    present && *present ? std::string(present) + ":" + libraries : libraries);
        }
        for (const char* sub : {"lib64", "lib", "lib32"})
            if (IsFolder(runner + "/" + sub + "/gstreamer-1.0")) {
                env.Set("GST_PLUGIN_SYSTEM_PATH", runner + "/" + sub + "/gstreamer-1.0");
                break;
            }
    }
    const std::string& bottle = prefix.folder;
    if (parameter("dxvk", false)) {
        add("WINE_LARGE_ADDRESS_AWARE", "1");
        add("DXVK_SHADER_CACHE_PATH", bottle + "/cache/dxvk_shader");
        add("STAGING_SHARED_MEMORY", "1");
        add("__GL_SHADER_DISK_CACHE", "1");
        add("__GL_SHADER_DISK_CACHE_PATH", bottle + "/cache/gl_shader");
        add("MESA_SHADER_CACHE_DIR", bottle + "/cache/mesa_shader");
    }
    if (parameter("vkd3d", false))
        add("VKD3D_SHADER_CACHE_PATH", bottle + "/cache/vkd3d_shader");
    add(parameter("latencyflex", false) ? "LFX" : "DISABLE_LFX", "1");
    if (parameter("dxvk_nvapi", false)) {
        add("DXVK_NVAPIHACK", "0");
        add("DXVK_ENABLE_NVAPI", "1");
    }
    const std::string sync = ReadYamlScalar(text, {"Parameters", "sync"}).value_or("wine");
    const bool ntsync = access("/dev/ntsync", R_OK) == 0;
    if (sync == "esync")
        add("WINEESYNC", "1");
    else if (sync == "fsync" || (sync == "ntsync" && !ntsync))
        add("WINEFSYNC", "1");
    else if ((sync == "ntsync" || sync == "wine") && ntsync)
        add("WINENTSYNC", "1");
    add("WINEDEBUG", parameter("fixme_logs", false) ? "+fixme-all" : "fixme-all");
    env.Set("WINEPREFIX", bottle);
    add("WINEARCH", arch);
    plan.environment = env.Entries();

    plan.command = {wine};
    // A program outside the bottle goes through Wine's start, as Bottles starts it.
    if (!Inside(run.program, bottle))
        plan.command.insert(plan.command.end(), {"start", "/wait", "/unix"});
    plan.command.push_back(run.program);
    plan.command.insert(plan.command.end(), run.arguments.begin(), run.arguments.end());
    return plan;
}
