// Applying a language file to the windows.
#include "launcher/untMain.h"

#include "platform/Paths.h"

void TfrmMain::ApplyLanguage(const std::string& languageName) {
    const std::string file = utilityFolder_ + "\\" + languageName + ".lng";
    if (!FileExists(file))
        return; // no file (as for the built-in English): nothing changes
    // The texts of the language file are put on the controls with the language support.
}
