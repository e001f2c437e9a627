#pragma once

#include <string>

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
// Returns whether any of those windows was seen.
bool WaitForGame(Pauses& pauses, WindowFinder& windows, bool settingsDialog, bool levelDialog,
                 ProgramStarter* started = nullptr);

// When the game's program ended with a failure (waitStatus as waitpid reports it: an exit status
// other than 0, or a signal) before any of its windows was seen, the message that says so, with
// the end of its output (outputTail) and the log that holds all of it (outputLog); else empty.
std::string EarlyEndMessage(int waitStatus, const std::string& outputTail,
                            const std::string& outputLog);

// The last lines (at most maxLines, from at most the last 64 KiB) of the file at a native path,
// without the head that the program starter writes above a program's output ("Command: ..." up to
// "Output:"); empty when it cannot be read.
std::string LastLines(const std::string& nativePath, size_t maxLines);
