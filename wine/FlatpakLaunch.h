#pragma once

#include "platform/LaunchPlan.h"

#include <string>

// A manager installed as a Flatpak runs its Wine inside its own sandbox. The plan `inside` (made
// with paths as the sandbox sees them; the home folder and the app's own ~/.var/app folder are
// seen at the same paths there) becomes
//   flatpak run --command=<program> --cwd=<folder> --env=NAME=VALUE.. --unset-env=NAME..
//               <appId> <arguments>
// Without flatpak the plan fails, saying what is missing; managerName names the manager there.
LaunchPlan InFlatpakSandbox(const std::string& appId, const std::string& managerName,
                            const LaunchPlan& inside);
