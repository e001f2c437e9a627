#pragma once

#include "platform/LaunchPlan.h"
#include "wine/FoundPrefix.h"
#include "wine/ProtonVersion.h"

#include <string>

struct ProgramToRun;

// Starts a program in a Steam prefix as Steam starts the game of that app id:
// - the compatibility tool of config/config.vdf's CompatToolMapping entry for the app id, else
//   the entry "0" (the default for all titles), else Proton Experimental; found by its internal
//   name among the tools of every compatibilitytools.d Steam reads (custom tools, by the names
//   their compatibilitytool.vdf declares) and the official Protons of every library (by their
//   app manifests' names);
// - never a Proton older than the prefix: the prefix's version file names the Proton that last
//   ran it; when the tool's own prefix version is older, an installed Proton of the prefix's
//   version is used, and when there is none the plan fails, naming both;
// - inside the runtime the tool's toolmanifest.vdf requires (require_tool_appid), through the
//   runtime's own command line, with the verb Steam gives a game (waitforexitandrun);
// - with the variables Steam sets (STEAM_COMPAT_*, SteamAppId, SteamGameId);
// - in the Flatpak's sandbox for the Flatpak's Steam.
LaunchPlan PlanSteamLaunch(const FoundPrefix& prefix, const ProgramToRun& run);

// The official Proton named by a compatibility tool name of config.vdf: "proton_9" ->
// "Proton 9.0", "proton_10" -> "Proton 10.0", "proton_513" -> "Proton 5.13",
// "proton_experimental" -> "Proton - Experimental", "proton_hotfix" -> "Proton Hotfix"; other
// names stay as they are.
std::string ProtonFolderName(const std::string& toolName);
