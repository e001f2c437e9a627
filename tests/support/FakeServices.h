#pragma once

#include "platform/DisplayModes.h"
#include "platform/GameRegistry.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramStarter.h"
#include "platform/ScuError.h"

#include <functional>
#include <map>
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

    std::string Start(const std::string& program, const std::string& arguments,
                      const std::string& folder) override {
        started.push_back({program, arguments, folder});
        return failure;
    }
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
            if (l.width == mode.width && l.height == mode.height && l.bitsPerPixel == mode.bitsPerPixel)
                return true;
        return false;
    }
};
