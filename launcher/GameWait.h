#pragma once

class Pauses;
class ProgramStarter;
class WindowFinder;

// The game's window titles and the waits around them, in milliseconds.
inline constexpr const char* kSettingsWindowTitle = "Settings";
inline constexpr const char* kLoadLevelWindowTitle = "Load Level";
inline constexpr const char* kGameWindowTitle = "ZELTA";
inline constexpr int kPauseAfterStart = 5000;
inline constexpr int kPollInterval = 1000;
inline constexpr int kPauseAfterSettings = 5000;
inline constexpr int kPauseAfterLoadLevel = 3000;
// A slow start (Wine updating a prefix, Proton building one) is waited for up to this long after
// the start while the started program still runs.
inline constexpr int kSlowStartLimit = 120000;

// Waits for the end of a started game: a first pause, then, while each window exists, one poll a
// second with pending events handled between polls: the settings dialog (when asked for), the
// level-selection dialog (when asked for), then the game's main window. The first poll that finds
// no main window ends the wait.
// A slow start is not taken for the end: after the first pause, while none of those windows has
// appeared and the started program still runs (asked of started; none: not asked), the wait
// polls on, once a second, until 120 seconds after the start. Once a window has been seen the
// rule above holds unchanged.
void WaitForGame(Pauses& pauses, WindowFinder& windows, bool settingsDialog, bool levelDialog,
                 ProgramStarter* started = nullptr);
