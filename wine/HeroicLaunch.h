#pragma once

#include "platform/LaunchPlan.h"
#include "wine/FoundPrefix.h"

struct ProgramToRun;

// Starts a program in a Heroic game's prefix as Heroic starts a Windows program there: the
// game's settings laid over config.json's defaults; a Wine build runs the program itself; a
// Proton build goes through umu-run (on PATH, else Heroic's own download) with PROTON_VERB, or,
// where the game turns umu off or there is none, "proton waitforexitandrun"; the game's
// environment options first, then Heroic's own variables (WINEPREFIX or STEAM_COMPAT_DATA_PATH,
// the DLL overrides, esync and fsync). The Flatpak's Heroic runs it inside its sandbox.
LaunchPlan PlanHeroicLaunch(const FoundPrefix& prefix, const ProgramToRun& run);
