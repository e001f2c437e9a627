#include "launcher/GameWait.h"

#include "platform/Pauses.h"
#include "platform/ProgramStarter.h"
#include "platform/WindowFinder.h"

namespace {
// Tests first, so a window that is already gone costs no poll interval.
void WhileWindowExists(Pauses& pauses, WindowFinder& windows, const char* title) {
    while (windows.Exists(title)) {
        pauses.ProcessEvents();
        pauses.Pause(kPollInterval);
    }
}

bool AnyGameWindow(WindowFinder& windows, bool settingsDialog, bool levelDialog) {
    return (settingsDialog && windows.Exists(kSettingsWindowTitle)) ||
           (levelDialog && windows.Exists(kLoadLevelWindowTitle)) ||
           windows.Exists(kGameWindowTitle);
}
} // namespace

void WaitForGame(Pauses& pauses, WindowFinder& windows, bool settingsDialog, bool levelDialog,
                 ProgramStarter* started) {
    pauses.Pause(kPauseAfterStart);
    if (started) {
        int waited = kPauseAfterStart;
        // The process is asked first: one that has ended leaves the design's polls as they were.
        while (waited < kSlowStartLimit && started->StartedProgramRuns() &&
               !AnyGameWindow(windows, settingsDialog, levelDialog)) {
            pauses.ProcessEvents();
            pauses.Pause(kPollInterval);
            waited += kPollInterval;
        }
    }
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
