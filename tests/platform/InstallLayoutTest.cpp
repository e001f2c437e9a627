#include "lang/LanguageFolders.h"
#include "platform/FreedesktopFileTypes.h"
#include "platform/UtilityPlaces.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
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

// What a command printed on its standard output.
std::string Output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

// Whether an ELF file has a section of that name (".symtab": not stripped).
bool HasElfSection(const std::string& file, const std::string& section) {
    return Output("readelf -S --wide " + Quoted(file)).find(" " + section + " ") !=
           std::string::npos;
}

// Everything under a folder, relative to it: files, links, and folders (with a final "/").
std::vector<std::string> AllEntries(const std::string& root) {
    std::vector<std::string> entries;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(root, error)) {
        const std::string relative = entry.path().lexically_relative(root).string();
        entries.push_back(entry.is_directory() && !entry.is_symlink() ? relative + "/" : relative);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// The files and links that an install put there: the folders and the caches that the desktop's
// tools (update-mime-database, update-desktop-database) derive from them are left out.
std::vector<std::string> InstalledFiles(const std::string& root) {
    std::vector<std::string> files;
    for (const std::string& entry : AllEntries(root)) {
        const bool cache =
            entry == "share/applications/mimeinfo.cache" ||
            (entry.rfind("share/mime/", 0) == 0 && entry.rfind("share/mime/packages/", 0) != 0);
        if (entry.back() != '/' && !cache)
            files.push_back(entry);
    }
    return files;
}

// The files of an installation under its prefix, relative to it (icons at every size).
std::vector<std::string> ExpectedInstallation(std::vector<std::string> files,
                                              const std::string& command = "bin/zeltasc") {
    files.push_back(command);
    for (const char* file :
         {"lib/zeltasc/zeltasc", "lib/zeltasc/installation.ini",
          "share/applications/org.example.zeltasc.desktop",
          "share/metainfo/org.example.zeltasc.metainfo.xml", "share/mime/packages/zeltasc-xpd.xml",
          "share/zeltasc/shipped/Deutsch.lng", "share/zeltasc/shipped/Francais.lng",
          "share/zeltasc/shipped/readme.txt"})
        files.push_back(file);
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string folder =
            "share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/";
        for (const char* icon : {"apps/zeltasc.png", "mimetypes/application-x-zelta-xpd.png"})
            files.push_back(folder + icon);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Sets environment variables for the life of the object.
class ScopedEnvironment {
public:
    void Set(const std::string& name, const std::string& value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        setenv(name.c_str(), value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
            it->second ? (void)setenv(it->first.c_str(), it->second->c_str(), 1)
                       : (void)unsetenv(it->first.c_str());
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// "make install" into a fresh home: the layout, the validators, where the installed copy keeps
// each user's files, the start's own registration beside the installed menu entry, and
// "make uninstall", which leaves nothing behind.
TEST(InstallLayout, InstallsTheUtilityMenuEntryIconsAndMetadataAndRemovesThemAgain) {
    TempFolder home;
    const std::string prefix = home / "a home/.local";
    ScopedEnvironment environment;
    environment.Set("HOME", home.Path());
    environment.Set("XDG_CONFIG_HOME", home / "config");
    environment.Set("XDG_DATA_HOME", home / "data");
    ASSERT_EQ(RunQuietly("bash " + kInstallScript + " install " + Quoted(prefix) + " " +
                         Quoted(SCU_BINARY_DIR)),
              0);

    EXPECT_EQ(InstalledFiles(prefix),
              ExpectedInstallation({"lib/zeltasc/created-folders", "lib/zeltasc/installed-files",
                                    "share/man/man6/zeltasc.6"}));
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string folder =
            "share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/";
        for (const char* icon : {"apps/zeltasc.png", "mimetypes/application-x-zelta-xpd.png"})
            EXPECT_EQ(PngSize(ReadFile(prefix + "/" + folder + icon)), std::make_pair(size, size))
                << folder + icon;
    }

    // The command runs the installed program.
    EXPECT_TRUE(fs::is_symlink(prefix + "/bin/zeltasc"));
    EXPECT_EQ(fs::canonical(prefix + "/bin/zeltasc"),
              fs::canonical(prefix + "/lib/zeltasc/zeltasc"));
    EXPECT_EQ(fs::status(prefix + "/lib/zeltasc/zeltasc").permissions() & fs::perms::owner_exec,
              fs::perms::owner_exec);

    const std::string entryPath = prefix + "/share/applications/org.example.zeltasc.desktop";
    const std::string entry = ReadFile(entryPath);
    for (const std::string& line : std::vector<std::string>{
             "\nName=ZELTA SCU\n", "\nCategories=Game;\n", "\nIcon=zeltasc\n",
             "\nStartupWMClass=zeltasc\n", "\nMimeType=application/x-zelta-xpd;\n",
             "\nExec=\"" + prefix + "/bin/zeltasc\" %f\n"})
        EXPECT_NE(entry.find(line), std::string::npos) << line;
    EXPECT_EQ(entry.find("NoDisplay"), std::string::npos);
    EXPECT_EQ(RunQuietly("desktop-file-validate " + Quoted(entryPath)), 0);
    EXPECT_EQ(RunQuietly("appstreamcli validate --no-net " +
                         Quoted(prefix + "/share/metainfo/org.example.zeltasc.metainfo.xml")),
              0);

    // The marker makes it an installed copy: readme.txt and the shipped languages in the prefix,
    // the user's settings and own languages in the user's XDG folders. The build's own program
    // has no marker and keeps everything beside it.
    const UtilityPlaces places = LocateUtilityPlaces(prefix + "/lib/zeltasc");
    EXPECT_TRUE(places.Installed());
    EXPECT_EQ(places.utilityFolder, prefix + "/share/zeltasc/shipped");
    EXPECT_EQ(places.settingsFolder, home / "config/zeltasc");
    EXPECT_EQ(places.dialogFolder, home.Path());
    EXPECT_FALSE(LocateUtilityPlaces(SCU_BINARY_DIR).Installed());
    EXPECT_EQ(LocateUtilityPlaces(SCU_BINARY_DIR).SettingsFile(), SCU_BINARY_DIR "\\settings.ini");
    ASSERT_TRUE(MakeSettingsFolder(places));
    struct stat made {};
    ASSERT_EQ(stat((home / "config/zeltasc").c_str(), &made), 0);
    EXPECT_EQ(made.st_mode & 0777, 0700u) << "private to the user";
    // The user's own Deutsch.lng wins over the shipped one; a new language joins the list.
    home.Write("data/zeltasc/deutsch.lng", "[Buttons]\nExit=E&nde\n");
    home.Write("data/zeltasc/Italiano.lng", "");
    EXPECT_EQ(ListLanguages(places.LanguageFolders()),
              (std::vector<std::string>{"Deutsch", "Francais", "Italiano"}));
    EXPECT_EQ(FindLanguageFile(places.LanguageFolders(), "Deutsch"),
              home / "data/zeltasc\\Deutsch.lng");
    EXPECT_EQ(FindLanguageFile(places.LanguageFolders(), "Francais"),
              prefix + "/share/zeltasc/shipped\\Francais.lng");

    // The installed program's own registration at start uses the installed menu entry and file
    // type, changes none of the installed files and copies none into the home.
    home.Write("config/mimeapps.list", "[Default Applications]\ntext/plain=editor.desktop\n");
    std::vector<std::string> toolsRun;
    FreedesktopFileTypes types(prefix + "/lib/zeltasc/zeltasc", places.Installed(), home / "data",
                               home / "config");
    types.runTool = [&](const std::string& tool, const std::string&) { toolsRun.push_back(tool); };
    types.RegisterXpdFileType();
    EXPECT_EQ(ReadFile(entryPath), entry);
    EXPECT_FALSE(home.Exists("data/mime")) << "the installation's file type serves";
    EXPECT_FALSE(home.Exists("data/applications"));
    EXPECT_TRUE(toolsRun.empty());
    EXPECT_EQ(home.Read("config/mimeapps.list"),
              "[Default Applications]\ntext/plain=editor.desktop\n"
              "application/x-zelta-xpd=org.example.zeltasc.desktop\n");

    // Uninstalling removes every file, cache and folder that install made, and the program's own
    // default; the user's settings and other defaults stay.
    home.Write("config/zeltasc/settings.ini", "[config]\r\nlang=Deutsch\r\n");
    ASSERT_EQ(RunQuietly("bash " + kInstallScript + " uninstall " + Quoted(prefix)), 0);
    EXPECT_FALSE(fs::exists(prefix)) << ::testing::PrintToString(AllEntries(prefix));
    EXPECT_EQ(home.Read("config/mimeapps.list"),
              "[Default Applications]\ntext/plain=editor.desktop\n");
    EXPECT_EQ(home.Read("config/zeltasc/settings.ini"), "[config]\r\nlang=Deutsch\r\n");

    // Into a prefix that has folders of its own, only what install made goes.
    fs::create_directories(prefix + "/bin");
    fs::create_directories(prefix + "/share/mime/packages");
    WriteFile(prefix + "/share/mime/packages/other.xml",
              ReadFile(SCU_SOURCE_DIR "/resources/desktop/zeltasc-xpd.xml"));
    ASSERT_EQ(RunQuietly("bash " + kInstallScript + " install " + Quoted(prefix) + " " +
                         Quoted(SCU_BINARY_DIR)),
              0);
    ASSERT_EQ(RunQuietly("bash " + kInstallScript + " uninstall " + Quoted(prefix)), 0);
    std::vector<std::string> left = AllEntries(prefix);
    left.erase(std::remove_if(left.begin(), left.end(),
                              [](const std::string& e) {
                                  return e != "share/mime/" && e.rfind("share/mime/", 0) == 0 &&
                                         e.rfind("share/mime/packages", 0) != 0;
                              }),
               left.end());
    EXPECT_EQ(left,
              (std::vector<std::string>{"bin/", "share/", "share/mime/", "share/mime/packages/",
                                        "share/mime/packages/other.xml"}));
}

// With the prefix ~/.local the user's own language folder, ~/.local/share/zeltasc, lies inside the
// installation's: install replaces none of the user's files there, and uninstall removes only
// the files that install put there as they were put, and an earlier version's shipped files.
TEST(InstallLayout, TheUsersOwnLanguageFilesOutliveInstallAndUninstall) {
    TempFolder home;
    const std::string prefix = home / ".local";
    ScopedEnvironment environment;
    environment.Set("HOME", home.Path());
    environment.Set("XDG_CONFIG_HOME", home / ".config");
    environment.Set("XDG_DATA_HOME", home / ".local/share");
    const std::string own = "[Buttons]\nExit=E&nde\n";
    home.Write(".local/share/zeltasc/Deutsch.lng", own);
    // An earlier version installed its language files there.
    WriteFile(prefix + "/share/zeltasc/Francais.lng",
              ReadFile(SCU_SOURCE_DIR "/resources/Francais.lng"));
    ASSERT_EQ(RunQuietly("bash " + kInstallScript + " install " + Quoted(prefix) + " " +
                         Quoted(SCU_BINARY_DIR)),
              0);
    EXPECT_EQ(home.Read(".local/share/zeltasc/Deutsch.lng"), own);
    EXPECT_FALSE(home.Exists(".local/share/zeltasc/Francais.lng"));
    const UtilityPlaces places = LocateUtilityPlaces(prefix + "/lib/zeltasc");
    EXPECT_EQ(FindLanguageFile(places.LanguageFolders(), "Deutsch"),
              prefix + "/share/zeltasc\\Deutsch.lng");
    EXPECT_EQ(FindLanguageFile(places.LanguageFolders(), "Francais"),
              prefix + "/share/zeltasc/shipped\\Francais.lng");

    // A shipped file the user changed is the user's now.
    WriteFile(prefix + "/share/zeltasc/shipped/readme.txt", "my notes");
    ASSERT_EQ(RunQuietly("bash " + kInstallScript + " uninstall " + Quoted(prefix)), 0);
    EXPECT_EQ(AllEntries(prefix + "/share/zeltasc"),
              (std::vector<std::string>{"Deutsch.lng", "shipped/", "shipped/readme.txt"}));
    EXPECT_EQ(home.Read(".local/share/zeltasc/Deutsch.lng"), own);
}

// An install over an earlier version that noted neither the folders it made nor the files it put
// there (as the first one), then uninstall: no empty folder of the program's is left, a folder that
// holds another program's file stays.
TEST(InstallLayout, UninstallAfterAnUpgradeLeavesNoEmptyFolders) {
    TempFolder home;
    const std::string prefix = home / ".local";
    ScopedEnvironment environment;
    environment.Set("HOME", home.Path());
    environment.Set("XDG_CONFIG_HOME", home / ".config");
    environment.Set("XDG_DATA_HOME", home / ".local/share");
    const std::string install =
        "bash " + kInstallScript + " install " + Quoted(prefix) + " " + Quoted(SCU_BINARY_DIR);
    ASSERT_EQ(RunQuietly(install), 0);
    fs::remove(prefix + "/lib/zeltasc/created-folders");
    fs::remove(prefix + "/lib/zeltasc/installed-files");
    fs::remove_all(prefix + "/share/man"); // nor had it a manual page
    home.Write(".local/share/icons/hicolor/48x48/apps/other.png", "another program's");
    ASSERT_EQ(RunQuietly(install), 0);
    ASSERT_EQ(RunQuietly("bash " + kInstallScript + " uninstall " + Quoted(prefix)), 0);
    EXPECT_EQ(AllEntries(prefix),
              (std::vector<std::string>{
                  "share/", "share/icons/", "share/icons/hicolor/", "share/icons/hicolor/48x48/",
                  "share/icons/hicolor/48x48/apps/", "share/icons/hicolor/48x48/apps/other.png"}));
}

// Uninstall takes the program's default out of the file that a linked mimeapps.list points at (a
// repository of dotfiles) and leaves the link a link.
TEST(InstallLayout, UninstallChangesTheFileALinkedMimeappsListPointsAt) {
    TempFolder home;
    ScopedEnvironment environment;
    environment.Set("HOME", home.Path());
    environment.Set("XDG_CONFIG_HOME", home / ".config");
    home.Write("dotfiles/mimeapps.list", "[Default Applications]\n"
                                         "application/x-zelta-xpd=org.example.zeltasc.desktop\n"
                                         "text/plain=editor.desktop\n");
    fs::create_directories(home / ".config");
    fs::create_symlink("../dotfiles/mimeapps.list", home / ".config/mimeapps.list");
    fs::create_directories(home / ".local");
    ASSERT_EQ(RunQuietly("bash " + kInstallScript + " uninstall " + Quoted(home / ".local")), 0);
    EXPECT_TRUE(fs::is_symlink(home / ".config/mimeapps.list"));
    EXPECT_EQ(home.Read("dotfiles/mimeapps.list"),
              "[Default Applications]\ntext/plain=editor.desktop\n");
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
    // A self-contained folder: no installation marker.
    EXPECT_EQ(AllEntries(build / "zeltasc-0.82"),
              (std::vector<std::string>{"Deutsch.lng", "Francais.lng", "readme.txt", "zeltasc"}));
    // The program itself, without its symbols and debugging information.
    const std::string program = build / "zeltasc-0.82/zeltasc";
    EXPECT_EQ(ReadFile(program).substr(0, 4), "\177ELF");
    EXPECT_EQ(fs::status(program).permissions() & fs::perms::owner_exec, fs::perms::owner_exec);
    ASSERT_TRUE(HasElfSection(SCU_BINARY_DIR "/zeltasc", ".symtab")) << "the check can see one";
    EXPECT_FALSE(HasElfSection(program, ".symtab"));
    EXPECT_FALSE(HasElfSection(program, ".debug_info"));
}

// The first package of each dependency of a Depends field ("a (>= 1), b | c" gives a, b).
std::vector<std::string> FirstPackages(const std::string& depends) {
    std::vector<std::string> names;
    for (size_t at = 0; at < depends.size();) {
        const size_t start = depends.find_first_not_of(" \n", at);
        if (start == std::string::npos)
            break;
        names.push_back(depends.substr(start, depends.find_first_of(" ,\n", start) - start));
        at = depends.find(',', start);
        at = at == std::string::npos ? depends.size() : at + 1;
    }
    return names;
}

// "make deb": the package made from the build, its files under /usr, its control fields.
TEST(InstallLayout, TheDebianPackageInstallsTheSameLayoutUnderUsrAndDependsOnWhatItRuns) {
    TempFolder out;
    const std::string deb = Output("bash " + Quoted(SCU_SOURCE_DIR "/scripts/make-deb.sh") + " " +
                                   Quoted(SCU_BINARY_DIR) + " " + Quoted(out.Path()));
    const std::string arch = Output("dpkg-architecture -qDEB_HOST_ARCH");
    ASSERT_EQ(deb, out / ("zeltasc_0.82-1_" + arch.substr(0, arch.find('\n')) + ".deb\n"));
    const std::string package = deb.substr(0, deb.size() - 1);
    ASSERT_EQ(RunQuietly("dpkg-deb -x " + Quoted(package) + " " + Quoted(out / "root")), 0);

    std::vector<std::string> files = InstalledFiles(out / "root/usr");
    EXPECT_EQ(files, ExpectedInstallation(
                         {"share/doc/zeltasc/changelog.Debian.gz", "share/doc/zeltasc/copyright",
                          "share/lintian/overrides/zeltasc", "share/man/man6/zeltasc.6.gz"},
                         "games/zeltasc"));
    // The command in /usr/games, as Debian's games section wants.
    EXPECT_EQ(fs::read_symlink(out / "root/usr/games/zeltasc"), "../lib/zeltasc/zeltasc");
    EXPECT_NE(ReadFile(out / "root/usr/share/applications/org.example.zeltasc.desktop")
                  .find("\nExec=/usr/games/zeltasc %f\n"),
              std::string::npos);
    const UtilityPlaces places = LocateUtilityPlaces(out / "root/usr/lib/zeltasc");
    EXPECT_EQ(places.utilityFolder, out / "root/usr/share/zeltasc/shipped");
    EXPECT_FALSE(HasElfSection(out / "root/usr/lib/zeltasc/zeltasc", ".symtab"));
    // Every path the changelog names is one the package has.
    const std::string changelog =
        Output("gzip -dc " + Quoted(out / "root/usr/share/doc/zeltasc/changelog.Debian.gz"));
    for (size_t at = changelog.find("/usr/"); at != std::string::npos;
         at = changelog.find("/usr/", at + 1)) {
        const std::string path = changelog.substr(at, changelog.find_first_of(" ,;\n", at) - at);
        EXPECT_TRUE(fs::exists(out / "root" + path)) << path << " named in the changelog";
    }

    EXPECT_EQ(Output("dpkg-deb -f " + Quoted(package) + " Package Version Architecture Section"),
              "Package: zeltasc\nVersion: 0.82-1\nArchitecture: " + arch + "Section: games\n");
    // What the program needs on the system it was built on: the packages of the libraries it
    // links, as dpkg-shlibdeps finds them there, and the GStreamer plugins the movie player loads
    // at run time: playbin and the converters (base), the MPEG demuxer and video parser (bad),
    // the decoders (libav), the audio parser, balance filter and audio sinks (good).
    const std::string shlibs = Output("cd " + Quoted(SCU_SOURCE_DIR) + " && dpkg-shlibdeps -O -e " +
                                      Quoted(SCU_BINARY_DIR "/zeltasc") + " 2>/dev/null");
    ASSERT_EQ(shlibs.rfind("shlibs:Depends=", 0), 0u) << shlibs;
    std::vector<std::string> needed = FirstPackages(shlibs.substr(shlibs.find('=') + 1));
    for (const char* name : {"libc6", "libstdc++6"})
        ASSERT_NE(std::find(needed.begin(), needed.end(), name), needed.end()) << shlibs;
    needed.insert(needed.end(), {"gstreamer1.0-plugins-base", "gstreamer1.0-plugins-good",
                                 "gstreamer1.0-plugins-bad", "gstreamer1.0-libav"});
    const std::string depends = Output("dpkg-deb -f " + Quoted(package) + " Depends");
    const std::vector<std::string> names = FirstPackages(depends);
    for (const std::string& name : needed)
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end())
            << name << " in " << depends;
}

} // namespace
