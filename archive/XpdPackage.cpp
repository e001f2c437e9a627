#include "archive/XpdPackage.h"

#include "platform/TextRules.h"

bool IsXpdPackageFileName(const std::string& fileName) {
    const std::string upper = UpperCase(fileName);
    if (upper == "XPD.INI")
        return true;
    return upper.size() > 4 && upper.compare(upper.size() - 4, 4, ".TMP") == 0;
}
