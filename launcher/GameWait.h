#pragma once

class Pauses;
class WindowFinder;

// The game's window titles and the waits around them, in milliseconds.
inline constexpr const char* kSettingsWindowTitle = "Settings";
inline constexpr const char* kLoadLevelWindowTitle = "Load Level";
inline constexpr const char* kGameWindowTitle = "ZELTA";
inline constexpr int kPauseAfterStart = 5000;
inline constexpr int kPollInterval = 1000;
inline constexpr int kPauseAfterSettings = 5000;
inline constexpr int kPauseAfterLoadLevel = 3000;

// Waits for the end of a started game: a first pause, then, while each window exists, one poll a
// second with pending events handled between polls: the settings dialog (when asked for), the
// level-selection dialog (when asked for), then the game's main window. The first poll that finds
// no main window ends the wait.
void WaitForGame(Pauses& pauses, WindowFinder& windows, bool settingsDialog, bool levelDialog);
