#pragma once

#include "platform/DisplayModes.h"
#include "platform/GameRegistry.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramStarter.h"
#include "platform/ScuError.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Message boxes that record what they were asked to show and answer confirmations from a script.
class FakeMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        std::string kind; // "information", "error", "confirm", "application"
        std::string text;
    };
    std::vector<Shown> shown;
    bool confirmAnswer = true;

    void Information(const std::string& text) override { shown.push_back({"information", text}); }
    void Error(const std::string& text) override { shown.push_back({"error", text}); }
    bool Confirm(const std::string& text) override {
        shown.push_back({"confirm", text});
        return confirmAnswer;
    }
    void ApplicationError(const std::string& message) override {
        shown.push_back({"application", message});
    }
};

// Records programs started and documents opened; starting succeeds unless a failure is scripted.
class FakeProgramStarter : public ProgramStarter {
public:
    struct Started {
        std::string program, arguments, folder;
    };
    std::vector<Started> started;
    std::vector<std::string> opened;
    std::string failure;
    // Answers of StartedProgramRuns, one per question; then "no longer runs".
    std::vector<bool> runs;

    std::string Start(const std::string& program, const std::string& arguments,
                      const std::string& folder) override {
        started.push_back({program, arguments, folder});
        return failure;
    }
    bool StartedProgramRuns() override {
        if (runs.empty())
            return false;
        const bool answer = runs.front();
        runs.erase(runs.begin());
        return answer;
    }
    // How the started program ended (as waitpid reports it) and the log of its output.
    std::optional<int> status;
    std::string log;
    std::optional<int> StartedProgramStatus() override { return status; }
    std::string OutputLog() const override { return log; }
    void Open(const std::string& documentOrUrl) override { opened.push_back(documentOrUrl); }
};

// An installation record held in memory; a value named in wrongType is of a non-text type.
class FakeGameRegistry : public GameRegistry {
public:
    std::map<std::string, std::string> values;
    std::vector<std::string> wrongType;

    std::string ReadString(const std::string& valueName) override {
        for (const std::string& name : wrongType)
            if (name == valueName)
                throw ScuError("Invalid data type for '" + valueName + "'");
        auto it = values.find(valueName);
        return it == values.end() ? std::string() : it->second;
    }
};

// A display that lists a scripted set of modes and accepts by a scripted rule (by default: a mode
// whose width, height and depth are listed). Records every mode it was asked to accept.
class ScriptedDisplayModes : public DisplayModes {
public:
    std::vector<DisplayMode> listed;
    std::function<bool(const DisplayMode&)> accepts;
    std::vector<DisplayMode> asked;
    int enumerated = 0; // how many indexes were asked for

    std::optional<DisplayMode> Mode(int index) override {
        ++enumerated;
        if (index < 0 || static_cast<size_t>(index) >= listed.size())
            return std::nullopt;
        return listed[static_cast<size_t>(index)];
    }
    bool Accepts(const DisplayMode& mode) override {
        asked.push_back(mode);
        if (accepts)
            return accepts(mode);
        for (const DisplayMode& l : listed)
            if (l.width == mode.width && l.height == mode.height &&
                l.bitsPerPixel == mode.bitsPerPixel)
                return true;
        return false;
    }
};

#include "platform/AppWindow.h"
#include "platform/FileDialogs.h"
#include "platform/FileTypeRegistrar.h"
#include "platform/Pauses.h"
#include "platform/WindowFinder.h"

#include <deque>
#include <functional>
#include <optional>

// What the launch services were asked, in order, with the virtual time of each request.
struct ServiceLog {
    std::vector<std::string> lines;
    void Add(const std::string& line) { lines.push_back(line); }
};

// Virtual time: a pause advances the clock at once; nothing sleeps.
class FakePauses : public Pauses {
public:
    explicit FakePauses(ServiceLog* log = nullptr) : log_(log) {}
    long now = 0;
    std::function<void()> onPause; // what happens in the window while the utility waits
    void Pause(int milliseconds) override {
        if (log_)
            log_->Add("pause " + std::to_string(milliseconds));
        now += milliseconds;
        if (onPause)
            onPause();
    }
    void ProcessEvents() override {
        if (log_)
            log_->Add("events");
    }

private:
    ServiceLog* log_;
};

// Windows that exist over intervals of virtual time [from, until).
class FakeWindowFinder : public WindowFinder {
public:
    FakeWindowFinder(const FakePauses& clock, ServiceLog* log = nullptr)
        : clock_(clock), log_(log) {}
    struct Window {
        std::string title;
        long from, until;
    };
    std::vector<Window> windows;
    bool Exists(const std::string& title) override {
        bool found = false;
        for (const Window& w : windows)
            if (w.title == title && clock_.now >= w.from && clock_.now < w.until)
                found = true;
        if (log_)
            log_->Add("find " + title + " @" + std::to_string(clock_.now) +
                      (found ? " yes" : " no"));
        return found;
    }

private:
    const FakePauses& clock_;
    ServiceLog* log_;
};

class FakeAppWindow : public AppWindow {
public:
    explicit FakeAppWindow(ServiceLog* log) : log_(log) {}
    void Minimise() override { log_->Add("minimise"); }
    void Restore() override { log_->Add("restore"); }
    void HideFromDesktop() override { log_->Add("hide"); }

private:
    ServiceLog* log_;
};

// Answers file dialogs from a script (no value = the user cancelled) and keeps the requests.
class FakeFileDialogs : public FileDialogs {
public:
    struct Asked {
        std::string kind;
        FileDialogRequest request;
    };
    std::vector<Asked> asked;
    std::deque<std::optional<std::string>> answers;
    std::optional<std::string> Save(const FileDialogRequest& request) override {
        return Answer("save", request);
    }
    std::optional<std::string> Open(const FileDialogRequest& request) override {
        return Answer("open", request);
    }

private:
    std::optional<std::string> Answer(const std::string& kind, const FileDialogRequest& request) {
        asked.push_back({kind, request});
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class FakeFileTypeRegistrar : public FileTypeRegistrar {
public:
    int calls = 0;
    std::string failure; // raised as ScuError when set
    void RegisterXpdFileType() override {
        ++calls;
        if (!failure.empty())
            throw ScuError(failure);
    }
};
