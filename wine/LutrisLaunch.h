#pragma once

#include "platform/LaunchPlan.h"
#include "wine/FoundPrefix.h"

#include <string>
#include <utility>
#include <vector>

struct ProgramToRun;

// Starts a program in a Lutris game's prefix as Lutris starts the game: the settings of
// system.yml, runners/wine.yml and the game's file laid over each other (the "system: env:"
// mappings merged name by name, each "wine:" option taken from the game's file first); the Wine
// version of the game's file, else of runners/wine.yml, else Lutris's default "ge-proton"; a
// Proton build (runners/wine/<version>/proton) and ge-proton run through umu-run with
// PROTONPATH, GAMEID, WINEARCH and PROTON_VERB, any other version through its own wine; the
// player's variables, the DLL overrides (the game's "overrides", the enabled DXVK, VKD3D,
// DXVK-NVAPI, D3D Extras and dgvoodoo2 of Lutris's runtime folder), esync and fsync as Lutris
// sets them. The Flatpak's Lutris runs it inside its sandbox.
LaunchPlan PlanLutrisLaunch(const FoundPrefix& prefix, const ProgramToRun& run);

// WINEDLLOVERRIDES as Lutris writes it: values with "native", "builtin" and "disabled" shortened
// to n, b and nothing, grouped by value in the order n,b; b,n; b; n; d; (none), each group's DLLs
// sorted; winemenubuilder always disabled; other values left out.
std::string LutrisDllOverrides(const std::vector<std::pair<std::string, std::string>>& overrides);
