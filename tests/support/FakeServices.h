#pragma once

#include "platform/MessageBoxes.h"
#include "platform/ProgramStarter.h"

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
