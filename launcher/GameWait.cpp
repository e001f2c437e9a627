#include "launcher/GameWait.h"

#include "platform/Pauses.h"
#include "platform/WindowFinder.h"

namespace {
// Tests first, so a window that is already gone costs no poll interval.
void WhileWindowExists(Pauses& pauses, WindowFinder& windows, const char* title) {
    while (windows.Exists(title)) {
        pauses.ProcessEvents();
        pauses.Pause(kPollInterval);
    }
}
} // namespace

void WaitForGame(Pauses& pauses, WindowFinder& windows, bool settingsDialog, bool levelDialog) {
    pauses.Pause(kPauseAfterStart);
    if (settingsDialog) {
        WhileWindowExists(pauses, windows, kSettingsWindowTitle);
        pauses.Pause(kPauseAfterSettings);
    }
    if (levelDialog) {
        WhileWindowExists(pauses, windows, kLoadLevelWindowTitle);
        pauses.Pause(kPauseAfterLoadLevel);
    }
    WhileWindowExists(pauses, windows, kGameWindowTitle);
}
