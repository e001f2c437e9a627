#include "platform/FreedesktopFileTypes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/utsname.h>

namespace fs = std::filesystem;

namespace {

const std::string kInstallScript = SCU_SOURCE_DIR "/scripts/install.sh";

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

int RunQuietly(const std::string& command) {
    return std::system((command + " >/dev/null").c_str());
}

// Width and height from a PNG file's header.
std::pair<int, int> PngSize(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0)
        return {0, 0};
    auto word = [&](size_t at) {
        int value = 0;
        for (size_t i = 0; i < 4; ++i)
            value = value * 256 + static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    return {word(16), word(20)};
}

// Files and links under a folder, relative to it; the desktop's own caches are left out.
std::vector<std::string> InstalledEntries(const std::string& root) {
    std::vector<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = entry.path().lexically_relative(root).string();
        const bool cache = relative == "share/applications/mimeinfo.cache" ||
                           (relative.rfind("share/mime/", 0) == 0 &&
                            relative.rfind("share/mime/packages/", 0) != 0);
        if (!entry.is_directory() && !cache)
            entries.push_back(relative);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// "make install" into a fresh home: the layout, the validators, the start's own registration
// beside the installed menu entry, and "make uninstall".
TEST(InstallLayout, InstallsTheUtilityMenuEntryIconsAndMetadataAndRemovesThemAgain) {
    TempFolder home;
    const std::string prefix = home / "a home/.local";
    ASSERT_EQ(RunQuietly("bash " + kInstallScript + " install " + Quoted(prefix) + " " +
                         Quoted(SCU_BINARY_DIR)),
              0);

    std::vector<std::string> expected = {
        "bin/zeltasc",
        "share/applications/org.example.zeltasc.desktop",
        "share/metainfo/org.example.zeltasc.metainfo.xml",
        "share/mime/packages/zeltasc-xpd.xml",
        "share/zeltasc/Deutsch.lng",
        "share/zeltasc/Francais.lng",
        "share/zeltasc/readme.txt",
        "share/zeltasc/zeltasc",
    };
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string folder =
            "share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/";
        for (const char* icon : {"apps/zeltasc.png", "mimetypes/application-x-zelta-xpd.png"}) {
            expected.push_back(folder + icon);
            EXPECT_EQ(PngSize(ReadFile(prefix + "/" + folder + icon)), std::make_pair(size, size))
                << folder + icon;
        }
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(InstalledEntries(prefix), expected);

    // The command runs the program of the utility folder, which finds its files beside it.
    EXPECT_TRUE(fs::is_symlink(prefix + "/bin/zeltasc"));
    EXPECT_EQ(fs::canonical(prefix + "/bin/zeltasc"),
              fs::canonical(prefix + "/share/zeltasc/zeltasc"));
    EXPECT_EQ(fs::status(prefix + "/share/zeltasc/zeltasc").permissions() & fs::perms::owner_exec,
              fs::perms::owner_exec);

    const std::string entryPath = prefix + "/share/applications/org.example.zeltasc.desktop";
    const std::string entry = ReadFile(entryPath);
    for (const std::string& line : std::vector<std::string>{
             "\nName=ZELTA SCU\n", "\nCategories=Game;\n", "\nIcon=zeltasc\n",
             "\nMimeType=application/x-zelta-xpd;\n", "\nExec=\"" + prefix + "/bin/zeltasc\" %f\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line;
    EXPECT_EQ(entry.find("NoDisplay"), std::string::npos);
    EXPECT_EQ(RunQuietly("desktop-file-validate " + Quoted(entryPath)), 0);
    EXPECT_EQ(RunQuietly("appstreamcli validate --no-net " +
                         Quoted(prefix + "/share/metainfo/org.example.zeltasc.metainfo.xml")),
              0);

    // The installed program's own registration at start uses the menu entry and changes none of
    // the installed files.
    const std::string mimePackage = ReadFile(prefix + "/share/mime/packages/zeltasc-xpd.xml");
    std::vector<std::string> toolsRun;
    FreedesktopFileTypes types(prefix + "/share/zeltasc/zeltasc", prefix + "/share",
                               home / "config");
    types.runTool = [&](const std::string& tool, const std::string&) { toolsRun.push_back(tool); };
    types.RegisterXpdFileType();
    EXPECT_EQ(ReadFile(entryPath), entry);
    EXPECT_EQ(ReadFile(prefix + "/share/mime/packages/zeltasc-xpd.xml"), mimePackage)
        << "the start writes the same file-type package as the install";
    EXPECT_FALSE(fs::exists(prefix + "/share/applications/zeltasc.desktop"));
    EXPECT_TRUE(toolsRun.empty());
    EXPECT_NE(home.Read("config/mimeapps.list")
                  .find("application/x-zelta-xpd=org.example.zeltasc.desktop"),
              std::string::npos);

    // Uninstalling removes exactly what was installed; the settings stay.
    WriteFile(prefix + "/share/zeltasc/settings.ini", "[config]\r\nlang=Deutsch\r\n");
    ASSERT_EQ(RunQuietly("bash " + kInstallScript + " uninstall " + Quoted(prefix)), 0);
    EXPECT_EQ(InstalledEntries(prefix), std::vector<std::string>{"share/zeltasc/settings.ini"});
    fs::remove(prefix + "/share/zeltasc/settings.ini");
    ASSERT_EQ(RunQuietly("bash " + kInstallScript + " uninstall " + Quoted(prefix)), 0);
    EXPECT_FALSE(fs::exists(prefix + "/share/zeltasc"));
}

// "make dist": the self-contained utility folder in a tarball.
TEST(InstallLayout, TheTarballHoldsTheSelfContainedUtilityFolder) {
    TempFolder build;
    fs::create_symlink(SCU_BINARY_DIR "/zeltasc", build / "zeltasc");
    ASSERT_EQ(RunQuietly("bash " + kInstallScript + " dist " + Quoted(build.Path()) + " 0.82"), 0);
    struct utsname machine;
    ASSERT_EQ(uname(&machine), 0);
    const std::string tarball =
        build / ("zeltasc-0.82-linux-" + std::string(machine.machine) + ".tar.gz");
    ASSERT_TRUE(fs::exists(tarball)) << tarball;
    ASSERT_EQ(RunQuietly("tar -xzf " + Quoted(tarball) + " -C " + Quoted(build.Path())), 0);
    EXPECT_EQ(InstalledEntries(build / "zeltasc-0.82"),
              (std::vector<std::string>{"Deutsch.lng", "Francais.lng", "readme.txt", "zeltasc"}));
    // The program itself, without its debugging information.
    const std::string program = build / "zeltasc-0.82/zeltasc";
    EXPECT_EQ(ReadFile(program).substr(0, 4), "\177ELF");
    EXPECT_EQ(fs::status(program).permissions() & fs::perms::owner_exec, fs::perms::owner_exec);
    EXPECT_LE(fs::file_size(program), fs::file_size(SCU_BINARY_DIR "/zeltasc"));
}

} // namespace
