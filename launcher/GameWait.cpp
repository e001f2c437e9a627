#include "launcher/GameWait.h"

#include "platform/Pauses.h"
#include "platform/ProgramStarter.h"
#include "platform/RegularFile.h"
#include "platform/WindowFinder.h"

#include <algorithm>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// Tests first, so a window that is already gone costs no poll interval.
bool WhileWindowExists(Pauses& pauses, WindowFinder& windows, const char* title) {
    bool seen = false;
    while (windows.Exists(title)) {
        seen = true;
        pauses.ProcessEvents();
        pauses.Pause(kPollInterval);
    }
    return seen;
}

bool AnyGameWindow(WindowFinder& windows, bool settingsDialog, bool levelDialog) {
    return (settingsDialog && windows.Exists(kSettingsWindowTitle)) ||
           (levelDialog && windows.Exists(kLoadLevelWindowTitle)) ||
           windows.Exists(kGameWindowTitle);
}
} // namespace

bool WaitForGame(Pauses& pauses, WindowFinder& windows, bool settingsDialog, bool levelDialog,
                 ProgramStarter* started) {
    pauses.Pause(kPauseAfterStart);
    bool seen = false;
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
        seen = WhileWindowExists(pauses, windows, kSettingsWindowTitle) || seen;
        pauses.Pause(kPauseAfterSettings);
    }
    if (levelDialog) {
        seen = WhileWindowExists(pauses, windows, kLoadLevelWindowTitle) || seen;
        pauses.Pause(kPauseAfterLoadLevel);
    }
    return WhileWindowExists(pauses, windows, kGameWindowTitle) || seen;
}

std::string EarlyEndMessage(int waitStatus, const std::string& outputTail,
                            const std::string& outputLog) {
    std::string how;
    if (WIFEXITED(waitStatus) && WEXITSTATUS(waitStatus) != 0)
        how = "with exit status " + std::to_string(WEXITSTATUS(waitStatus));
    else if (WIFSIGNALED(waitStatus))
        how = "by signal " + std::to_string(WTERMSIG(waitStatus)) + " (" +
              strsignal(WTERMSIG(waitStatus)) + ")";
    else
        return {};
    std::string message = "The game ended " + how + " before any of its windows appeared.";
    if (!outputTail.empty())
        message += "\r\rThe last lines of its output:\r\r" + outputTail;
    if (!outputLog.empty())
        message += "\r\rAll of its output is in:\r" + outputLog;
    return message;
}

std::string LastLines(const std::string& nativePath, size_t maxLines) {
    const int fd = OpenRegularFile(nativePath);
    if (fd < 0)
        return {};
    constexpr off_t kTail = 64 * 1024;
    const off_t size = std::max<off_t>(lseek(fd, 0, SEEK_END), 0);
    const off_t from = size > kTail ? size - kTail : 0;
    std::string text(static_cast<size_t>(size - from), '\0');
    const ssize_t got = size > 0 ? pread(fd, text.data(), text.size(), from) : 0;
    close(fd);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    // The head the program starter wrote (what was started) is not the program's output.
    if (from == 0 && text.rfind("Command:", 0) == 0)
        if (const size_t output = text.find("\nOutput:\n"); output != std::string::npos)
            text.erase(0, output + 9);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    // Back from the end over maxLines line breaks.
    size_t start = text.size();
    for (size_t lines = 0; lines < maxLines; ++lines) {
        const size_t newline = start == 0 ? std::string::npos : text.rfind('\n', start - 1);
        if (newline == std::string::npos)
            return text;
        start = newline;
    }
    return text.substr(start + 1);
}
