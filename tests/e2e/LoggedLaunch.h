#pragma once
// The utility's four windows over the production services, each service noting what it was asked
// in one log: the launch tests under Xvfb and under a Wayland compositor share this set-up.
#include "e2e/StandInGame.h"

#include "lang/untAbout.h"
#include "lang/untLanguage.h"
#include "launcher/untBrowse.h"
#include "launcher/untMain.h"
#include "platform/DesktopProgramStarter.h"
#include "platform/QtAppWindow.h"
#include "platform/QtPauses.h"
#include "platform/X11WindowFinder.h"
#include "support/FakeServices.h"
#include "support/ProgramWindows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <utility>

// Real pauses in a local event loop, shortened by a divisor so a test takes seconds; the order of
// the steps is what these tests look at (the lengths are checked in virtual time).
class ShortPauses : public Pauses {
public:
    ShortPauses(ServiceLog& log, int divisor) : log_(log), divisor_(divisor) {}
    void Pause(int milliseconds) override {
        log_.Add("pause " + std::to_string(milliseconds));
        real_.Pause(milliseconds / divisor_);
    }
    void ProcessEvents() override { real_.ProcessEvents(); }

private:
    ServiceLog& log_;
    int divisor_;
    QtPauses real_;
};

// The X11 window search, noting each title it looked for; onFound runs at the first window found.
class WatchedWindows : public WindowFinder {
public:
    explicit WatchedWindows(ServiceLog& log) : log_(log) {}
    bool Exists(const std::string& title) override {
        const bool found = real_.Exists(title);
        log_.Add("find " + title + (found ? " yes" : " no"));
        if (found && onFound)
            std::exchange(onFound, nullptr)();
        return found;
    }
    std::function<void()> onFound;

private:
    ServiceLog& log_;
    X11WindowFinder real_;
};

class LoggedAppWindow : public AppWindow {
public:
    explicit LoggedAppWindow(ServiceLog& log) : log_(log) {}
    void SetWindow(QWidget* window) { real_.SetWindow(window); }
    void Minimise() override {
        log_.Add("minimise");
        real_.Minimise();
    }
    void Restore() override {
        log_.Add("restore");
        real_.Restore();
    }
    void HideFromDesktop() override {
        log_.Add("hide");
        real_.HideFromDesktop();
    }

private:
    ServiceLog& log_;
    QtAppWindow real_;
};

// The four windows on the stand-in installation, shown, with its executable and the given levels
// in the lists.
class LoggedLaunchTest : public ::testing::Test {
protected:
    explicit LoggedLaunchTest(int pauseDivisor) : pauses{log, pauseDivisor} {}

    void CreateWindows(std::initializer_list<const char*> levels) {
        services.messages = &messages;
        services.starter = &starter;
        services.pauses = &pauses;
        services.windows = &windows;
        services.appWindow = &appWindow;
        main = std::make_unique<TfrmMain>(services, install.root / "utility");
        frmMain = main.get();
        appWindow.SetWindow(main.get());
        browse = std::make_unique<TfrmBrowse>(main.get());
        frmBrowse = browse.get();
        about = std::make_unique<TfrmAbout>(main.get());
        frmAbout = about.get();
        language = std::make_unique<TfrmLanguage>(install.root / "utility", &starter, main.get());
        frmLanguage = language.get();
        main->show();

        main->stxDestFolder->setText(QString::fromStdString(install.game));
        main->cbEXE->addItem(QStringLiteral("ZELTA.EXE"));
        main->cbEXE->setCurrentIndex(0);
        for (const char* level : levels) {
            main->cbLevel->addItem(QLatin1String(level));
            main->cbRecord->addItem(QLatin1String(level));
        }
        main->cbLevel->setCurrentIndex(0);
        main->cbRecord->setCurrentIndex(0);
    }
    // The three-second test movie in the game's movie folder, named and chosen in the movie list.
    void ChooseTheTestMovie() {
        std::filesystem::create_directories(install.game + "data/fmv");
        std::filesystem::copy_file(SCU_BINARY_DIR "/test-media/movie.mpg",
                                   install.game + "data/fmv/intro.mpg");
        install.root.Write("utility/settings.ini", "[fmvs]\r\nintro=Introduction\r\n");
        main->cbFMV->addItem(QStringLiteral("Introduction"));
        main->cbFMV->setCurrentIndex(0);
        main->cbxLevels->setChecked(true);
        TfrmMain::SetRadioChecked(main->rbFMV, true);
    }
    void TearDown() override { DestroyProgramWindows(main, browse, about, language); }
    // The log without the poll interval and the repeated polls of one window: each step once.
    std::vector<std::string> Steps() const {
        std::vector<std::string> steps;
        for (const std::string& line : log.lines)
            if (line != "pause 1000" && (steps.empty() || steps.back() != line))
                steps.push_back(line);
        return steps;
    }

    StandInInstallation install;
    ServiceLog log;
    FakeMessageBoxes messages;
    DesktopProgramStarter starter;
    ShortPauses pauses;
    WatchedWindows windows{log};
    LoggedAppWindow appWindow{log};
    MainServices services;
    std::unique_ptr<TfrmMain> main;
    std::unique_ptr<TfrmBrowse> browse;
    std::unique_ptr<TfrmAbout> about;
    std::unique_ptr<TfrmLanguage> language;
};
