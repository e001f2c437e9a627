#include "platform/DesktopProgramStarter.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A native program that reports its arguments (one a line), working folder, session and
// standard input into report.txt of its working folder.
struct Reporter {
    TempFolder folder;
    std::string program;

    Reporter() {
        folder.Write("game/bin/REPORT.EXE",
                     "#!/bin/sh\n"
                     "{ for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done\n"
                     "  printf 'cwd=%s\\n' \"$(pwd)\"\n"
                     "  printf 'sid=%s\\n' \"$(ps -o sid= -p $$ | tr -d ' ')\"\n"
                     "  printf 'stdin=%s\\n' \"$(cat)\"; } > report.part\n"
                     "mv report.part report.txt\n");
        fs::permissions(folder / "game/bin/REPORT.EXE", fs::perms::owner_all);
        program = folder.Path() + "/game\\bin\\REPORT.EXE";
    }
    std::string WaitForReport() {
        for (int i = 0; i < 200 && !folder.Exists("game/report.txt"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return folder.Read("game/report.txt");
    }
};

TEST(ProgramStarter, StartsTheProgramDetachedInTheGameFolderWithSplitArguments) {
    Reporter r;
    DesktopProgramStarter starter;
    EXPECT_EQ(starter.Start(r.program, " -level=data\\maps\\K1 \"two words\" a\\\"b -nofmv",
                            r.folder.Path() + "/game\\"),
              "");
    const std::string report = r.WaitForReport();
    EXPECT_EQ(report.substr(0, report.find("cwd=")),
              "[-level=data\\maps\\K1]\n[two words]\n[a\"b]\n[-nofmv]\n");
    EXPECT_NE(report.find("cwd=" + fs::canonical(r.folder / "game").string() + "\n"),
              std::string::npos);
    EXPECT_NE(report.find("stdin=\n"), std::string::npos); // /dev/null, not the caller's input
    EXPECT_EQ(report.find("sid=" + std::to_string(getsid(0)) + "\n"), std::string::npos);
}

TEST(ProgramStarter, ExplainsWhyAProgramCannotStart) {
    TempFolder folder;
    folder.Write("bin/PLAIN.EXE", "not a program");
    folder.Write("bin/WIN.EXE", std::string("MZ\x90\x00", 4) + std::string(200, '\0'));
    fs::permissions(folder / "bin/WIN.EXE", fs::perms::owner_all);
    DesktopProgramStarter starter;
    EXPECT_EQ(starter.Start(folder / "bin/MISSING.EXE", "", folder.Path()),
              "The program file does not exist.");
    EXPECT_EQ(starter.Start(folder / "bin", "", folder.Path()), "The program file does not exist.");
    EXPECT_EQ(starter.Start(folder / "bin/PLAIN.EXE", "", folder.Path()),
              "The program file is not executable.");
    // Windows programs run through Wine; without it on PATH they cannot start.
    const std::string path = getenv("PATH");
    setenv("PATH", folder.Path().c_str(), 1);
    EXPECT_EQ(starter.Start(folder / "bin/WIN.EXE", "", folder.Path()),
              "Wine is needed to run this Windows program but was not found.");
    folder.Write("wine", "#!/bin/sh\nprintf '%s|' \"$@\" > '" + (folder / "wine.txt") + "'\n");
    fs::permissions(folder / "wine", fs::perms::owner_all);
    EXPECT_EQ(starter.Start(folder / "bin/WIN.EXE", "-nofmv \"a b\"", folder.Path()), "");
    setenv("PATH", path.c_str(), 1);
    for (int i = 0; i < 200 && !folder.Exists("wine.txt"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(folder.Read("wine.txt"), folder / "bin/WIN.EXE" + "|-nofmv|a b|");
}

} // namespace
