#pragma once

#include "platform/LaunchPlan.h"
#include "wine/FoundPrefix.h"

struct ProgramToRun;

// Starts a program in a bottle as Bottles starts a program: the bottle's runner (its bin/wine, a
// Proton runner's dist/ or files/bin/wine, wine64 for a 64-bit bottle where there is one; a
// "sys-" runner is the system's wine), a program outside the bottle through "start /wait /unix",
// with the variables Bottles sets: WINEPREFIX, WINEARCH, WINEDLLOVERRIDES from the bottle's
// DLL_Overrides, esync or fsync as its "sync" parameter says, WINEDEBUG, the runner's libraries,
// the shader caches of DXVK and VKD3D, and the bottle's Environment_Variables, which win over
// Bottles' own as in Bottles. The Flatpak's Bottles starts it itself, through bottles-cli in its
// sandbox.
LaunchPlan PlanBottlesLaunch(const FoundPrefix& prefix, const ProgramToRun& run);
