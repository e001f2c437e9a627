#include "platform/FreedesktopFileTypes.h"

#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/ScuError.h"

#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

constexpr const char* kMimeType = "application/x-zelta-xpd";
constexpr const char* kDesktopName = "zeltasc.desktop";
// The menu entry that an installation puts into <prefix>/share/applications/ and the icons it puts
// into the hicolor theme; the entry of a copy gets the same icon.
constexpr const char* kMenuEntryName = "org.example.zeltasc.desktop";
constexpr const char* kIconName = "zeltasc";
constexpr const char* kTypeIconName = "application-x-zelta-xpd";

[[noreturn]] void Failed(const std::string& name) {
    throw ScuError("Failed to set data for '" + name + "'");
}

// Writes the file when its content differs; true when it was written.
bool WriteIfDifferent(const std::string& path, const std::string& content) {
    if (auto existing = ReadWholeFile(path); existing && *existing == content)
        return false;
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    AtomicFileWriter writer;
    if (!writer.Replace(path, content))
        Failed(path);
    return true;
}

void RunWhenPresent(const std::string& tool, const std::string& folder) {
    std::vector<char*> argv{const_cast<char*>(tool.c_str()), const_cast<char*>(folder.c_str()),
                            nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, tool.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return;
    int status = 0;
    waitpid(pid, &status, 0);
}

} // namespace

FreedesktopFileTypes::FreedesktopFileTypes(std::string programPath, bool installed,
                                           std::string dataHome, std::string configHome)
    : runTool(RunWhenPresent), program_(std::move(programPath)), installed_(installed),
      dataHome_(dataHome.empty() ? XdgBaseFolder("XDG_DATA_HOME", "/.local/share")
                                 : std::move(dataHome)),
      configHome_(configHome.empty() ? XdgBaseFolder("XDG_CONFIG_HOME", "/.config")
                                     : std::move(configHome)) {}

std::string FreedesktopFileTypes::ExecArgument(const std::string& programPath) {
    static const std::string reserved = " \t\n\"'\\<>~|&;$*?#()`";
    if (programPath.find_first_of(reserved) == std::string::npos &&
        programPath.find('%') == std::string::npos)
        return programPath;
    // The string rules of the desktop file come before the quoting, so each backslash of the
    // quoting is written twice; a lone "\\$" would be an escape the string rules do not know.
    std::string quoted = "\"";
    for (char c : programPath) {
        if (c == '\n')
            quoted += "\\n"; // a line break would end the Exec line
        else if (c == '\\')
            quoted += "\\\\\\\\";
        else if (c == '"' || c == '`' || c == '$')
            quoted += std::string("\\\\") + c;
        else if (c == '%')
            quoted += "%%";
        else
            quoted += c;
    }
    return quoted + "\"";
}

void FreedesktopFileTypes::RegisterXpdFileType() {
    // An installed program opens packages through the menu entry and the file type its
    // installation put into the prefix, which are never touched here (nor copied into the user's
    // home, where they would outlive the installation); a copy run from anywhere else gets a file
    // type and an entry of its own, the entry kept out of the menus.
    const std::string mimeFolder = dataHome_ + "/mime";
    const std::string mimePackage = mimeFolder + "/packages/zeltasc-xpd.xml";
    const bool mimeChanged =
        !installed_ &&
        WriteIfDifferent(
            mimePackage,
            std::string(
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                "  <mime-type type=\"") +
                kMimeType +
                "\">\n"
                "    <comment>ZELTA SCU Extended PAD File</comment>\n"
                "    <icon name=\"" +
                kTypeIconName +
                "\"/>\n"
                "    <glob pattern=\"*.xpd\"/>\n"
                "  </mime-type>\n"
                "</mime-info>\n");

    const std::string applications = dataHome_ + "/applications";
    const std::string entryName = installed_ ? kMenuEntryName : kDesktopName;
    const bool desktopChanged =
        !installed_ &&
        WriteIfDifferent(applications + "/" + kDesktopName,
                         std::string("[Desktop Entry]\n"
                                     "Type=Application\n"
                                     "Name=ZELTA SCU\n"
                                     "Comment=ZELTA SCU Extended PAD File\n"
                                     "Exec=") +
                             ExecArgument(program_) + " %f\n" + "Icon=" + kIconName + "\n" +
                             "MimeType=" + kMimeType + ";\n" + "NoDisplay=true\n");

    const std::string mimeApps = configHome_ + "/mimeapps.list";
    try {
        IniFile list(mimeApps);
        if (list.ReadString("Default Applications", kMimeType, "") != entryName) {
            std::error_code ignored;
            std::filesystem::create_directories(configHome_, ignored);
            list.WriteString("Default Applications", kMimeType, entryName);
        }
    } catch (const ScuError&) {
        Failed(mimeApps);
    }

    if (mimeChanged)
        runTool("update-mime-database", mimeFolder);
    if (desktopChanged)
        runTool("update-desktop-database", applications);
}
