// "zeltasc package.xpd", as the desktop opens a package: the program plays the demo without ever
// mapping a window of its own and ends, leaving the game folder and settings.ini as they were.
#include "e2e/StandInGame.h"

#include "archive/uVexaZipComp.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kSettings =
    "[config]\r\nversion=ZELTA.EXE\r\nwindowed=1\r\n\r\n[levels]\r\nK1=The Harbour\r\n";

// Watches the X display for windows being mapped and notes the process each belongs to.
class MapWatcher {
public:
    MapWatcher() : display_(XOpenDisplay(nullptr)) {
        if (display_) {
            XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
            XSync(display_, False);
        }
    }
    ~MapWatcher() {
        if (display_)
            XCloseDisplay(display_);
    }
    bool Ready() const { return display_ != nullptr; }
    // Handles pending events; the process ids of windows mapped so far are kept.
    void Poll() {
        while (XPending(display_)) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == MapNotify)
                mappedPids.insert(PidOf(event.xmap.window));
        }
    }
    std::set<long> mappedPids;

private:
    long PidOf(Window window) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        long pid = 0;
        if (XGetWindowProperty(display_, window, XInternAtom(display_, "_NET_WM_PID", False), 0, 1,
                               False, XA_CARDINAL, &type, &format, &count, &after,
                               &data) == Success &&
            data && count == 1)
            pid = *reinterpret_cast<long*>(data);
        if (data)
            XFree(data);
        return pid;
    }
    Display* display_;
};

class PackageRoadE2ETest : public ::testing::Test {
protected:
    void SetUp() override {
        install.InstallUtility(kSettings);
        install.WindowTimes(500, 500, 6500);
    }

    std::string MakePackage(const std::string& name,
                            const std::vector<std::pair<std::string, std::string>>& files) {
        TempFolder work;
        const std::string package = install.root / name;
        for (const auto& [file, content] : files) {
            work.Write(file, content);
            TVexaZipComponent().gZapakujFajl(work / file, package);
        }
        return package;
    }

    // Runs the utility on the package, started in startFolder when one is given, and waits for
    // its end; the exit status, or -1 on timeout.
    int Run(const std::string& package, const std::string& startFolder = "") {
        const pid_t pid = fork();
        if (pid == 0) {
            unsetenv("QT_QPA_PLATFORM");
            if (!startFolder.empty() && chdir(startFolder.c_str()) != 0)
                _exit(126);
            const std::string program = install.root / "utility/zeltasc";
            execl(program.c_str(), program.c_str(), package.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        utilityPid = pid;
        for (int i = 0; i < 3000; ++i) {
            watcher.Poll();
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                watcher.Poll();
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return -1;
    }

    StandInInstallation install;
    MapWatcher watcher;
    long utilityPid = 0;
};

TEST_F(PackageRoadE2ETest, PlaysThePackageUnseenAndLeavesNothingBehind) {
    ASSERT_TRUE(watcher.Ready()) << "needs an X display";
    const std::string package =
        MakePackage("demo.xpd", {{"K1.tmp", "recorded input"},
                                 {"xpd.ini", "[config]\r\nnofmv=1\r\ngodmode=1\r\n"}});
    const auto before = install.GameFiles();
    // As typed in a terminal: a name relative to the folder the program is started in.
    ASSERT_EQ(Run("demo.xpd", fs::path(package).parent_path()), 0);

    const auto runs = install.Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(StandInInstallation::Value(runs[0], "arguments"),
              "-padplayback=bin\\K1.tmp -level=data\\maps\\K1 -godmode -nofmv");
    EXPECT_EQ(StandInInstallation::Value(runs[0], "playback-bytes"), "14");
    EXPECT_EQ(install.GameFiles(), before);
    EXPECT_EQ(install.root.Read("utility/settings.ini"), kSettings);
    EXPECT_EQ(watcher.mappedPids.count(utilityPid), 0u) << "the utility mapped a window";
    // The game's own windows were seen, so the watch works.
    EXPECT_FALSE(watcher.mappedPids.empty());
    // The file type now opens with this copy of the utility.
    EXPECT_NE(install.root.Read("home/.local/share/applications/zeltasc.desktop")
                  .find("Exec=" + (install.root / "utility/zeltasc") + " %f"),
              std::string::npos);
}

// A game whose first window comes late (a prefix being updated) is waited for while it runs,
// so its window appears while the utility still waits, and the package's files go only after.
TEST_F(PackageRoadE2ETest, AGameSlowToShowItsWindowIsWaitedFor) {
    ASSERT_TRUE(watcher.Ready()) << "needs an X display";
    setenv("ZELTA_STANDIN_DELAY_MS", "7000", 1);
    const std::string package = MakePackage(
        "slow.xpd", {{"K1.tmp", "recorded input"}, {"xpd.ini", "[config]\r\nnofmv=1\r\n"}});
    const auto before = install.GameFiles();
    const int status = Run(package);
    unsetenv("ZELTA_STANDIN_DELAY_MS");
    ASSERT_EQ(status, 0);
    EXPECT_FALSE(watcher.mappedPids.empty()) << "the utility ended before the game's window";
    const auto runs = install.Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(StandInInstallation::Value(runs[0], "closed"), "ZELTA");
    EXPECT_EQ(install.GameFiles(), before);
}

TEST_F(PackageRoadE2ETest, AHostilePackageCannotTouchOtherFiles) {
    ASSERT_TRUE(watcher.Ready()) << "needs an X display";
    const std::string package =
        MakePackage("evil.xpd", {{"K1.tmp", "input"}, {"ZELTA.EXE", "replaced program"}});
    // Names with folders are written flat, so "../" and absolute names cannot leave the bin folder.
    const auto before = install.GameFiles();
    ASSERT_EQ(Run(package), 0);
    const auto after = install.GameFiles();
    EXPECT_EQ(after, before);
    EXPECT_EQ(StandInInstallation::Value(install.Runs().at(0), "arguments"),
              "-padplayback=bin\\K1.tmp -level=data\\maps\\K1");
}

// A game found in a game manager's prefix is started the way that manager starts a program there
// (here Heroic, with its Wine build and the game's variables), with its output in the game log.
TEST_F(PackageRoadE2ETest, AManagersGameStartsAsItsManagerWouldStartIt) {
    ASSERT_TRUE(watcher.Ready()) << "needs an X display";
    unsetenv("WINEPREFIX");
    // The game is a Windows program; the manager's Wine (a stand-in that records how it was
    // called) runs the stand-in game in its place.
    install.root.Write("game/bin/ZELTA.EXE", "MZ");
    const std::string wine = install.root / "home/.config/heroic/tools/wine/Wine-GE/bin/wine";
    install.root.Write("home/.config/heroic/tools/wine/Wine-GE/bin/wine",
                       "#!/bin/sh\n{ printf '%s\\n' \"$0\" \"$@\" \"$(pwd)\" \"$WINEPREFIX\" "
                       "\"$WINEDLLOVERRIDES\" \"$DXVK_HUD\"; } > '" +
                           install.root / "wine-calls.txt" +
                           "'\necho 'wine: starting'\nshift\nexec '" SCU_BINARY_DIR
                           "/standin-game' \"$@\"\n");
    fs::permissions(wine, fs::perms::owner_all);
    install.root.Write("home/.config/heroic/GamesConfig/Zelta.json",
                       "{\"Zelta\": {\"winePrefix\": \"" + install.root / "prefix" +
                           "\", \"wineVersion\": {\"bin\": \"" + wine +
                           "\", \"name\": \"Wine-GE\", \"type\": \"wine\"}, "
                           "\"enviromentOptions\": [{\"key\": \"DXVK_HUD\", \"value\": "
                           "\"fps\"}]}, \"version\": \"v0\", \"explicit\": true}");
    const std::string package = MakePackage(
        "heroic.xpd", {{"K1.tmp", "recorded input"}, {"xpd.ini", "[config]\r\nnofmv=1\r\n"}});
    ASSERT_EQ(Run(package), 0);

    const auto runs = install.Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(StandInInstallation::Value(runs[0], "arguments"),
              "-padplayback=bin\\K1.tmp -level=data\\maps\\K1 -nofmv");
    // The manager's Wine, the game's program (through the prefix's drive), the arguments, the
    // game folder, and the prefix with the game's settings.
    std::vector<std::string> calls;
    std::istringstream lines(install.root.Read("wine-calls.txt"));
    for (std::string line; std::getline(lines, line);)
        calls.push_back(line);
    ASSERT_EQ(calls.size(), 9u);
    EXPECT_EQ(calls[0], wine);
    EXPECT_EQ(fs::canonical(calls[1]), fs::canonical(install.game + "bin/ZELTA.EXE"));
    EXPECT_EQ(
        std::vector<std::string>(calls.begin() + 2, calls.begin() + 5),
        (std::vector<std::string>{"-padplayback=bin\\K1.tmp", "-level=data\\maps\\K1", "-nofmv"}));
    EXPECT_EQ(fs::canonical(calls[5]), fs::canonical(install.game));
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 6, calls.end()),
              (std::vector<std::string>{install.root / "prefix", "winemenubuilder.exe=d", "fps"}));
    const std::string log = install.root.Read("home/.local/state/zeltasc/game.log");
    EXPECT_EQ(log.rfind("Command: '" + wine + "' '" + calls[1] + "' '-padplayback", 0), 0u) << log;
    EXPECT_NE(log.find("Output:\nwine: starting\n"), std::string::npos) << log;
}

} // namespace
