#pragma once

#include "archive/uZipComp.h"

#include <string>

// The two archive operations the demo code needs, on a component created for one call. Paths are
// texts in the utility's form; they become native paths here.
class TVexaZipComponent : public TZipComponent {
public:
    TVexaZipComponent();

    // Packs one file into the archive, creating the archive when it does not exist.
    void gZapakujFajl(const std::string& file, const std::string& archive);
    // Unpacks the archive's entries into the folder, flat, replacing files of the same name. Only
    // the files an XPD package may hold are written (IsXpdPackageFileName), and a package that
    // would unpack to more than kXpdUnpackLimit bytes is refused.
    void gRaspakujFajl(const std::string& archive, const std::string& folder);

    // The path without one trailing backslash.
    static std::string IzbaciCrtuIzPutanje(const std::string& path);
};
