#pragma once

#include <optional>
#include <string>

#include "wine/ProtonVersion.h"

// The prefix version a Proton folder's proton script writes, or none.
std::optional<ProtonPrefixVersion> ProtonFolderPrefixVersion(const std::string& protonFolder);

// Why the Proton in protonFolder must not run the prefix whose compatibility data folder (the
// one holding its version file) is compatData: the prefix was last run by a newer Proton, whose
// files Proton would remove ("Removing newer prefix"). Empty when it may run it, or when either
// version cannot be told.
std::string OlderProtonRefusal(const std::string& protonFolder, const std::string& compatData);
