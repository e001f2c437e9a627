#include "platform/Paths.h"

#include "platform/TextRules.h"

#include <cstdlib>
#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return {};
}

std::string XdgBaseFolder(const char* variable, const char* fallback) {
    if (const char* value = std::getenv(variable); value && *value == '/')
        return value;
    return HomeFolder() + fallback;
}

std::string WinePrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.wine";
}

static bool EntryExists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// Finds a directory entry of folder whose name equals name without regard to case; the first in
// upper-cased name order wins so the choice is stable.
static bool FindCaseInsensitive(const std::string& folder, const std::string& name,
                                std::string& found) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    std::string best;
    bool any = false;
    while (dirent* entry = readdir(dir)) {
        std::string candidate = entry->d_name;
        if (!SameText(candidate, name))
            continue;
        if (!any || candidate < best) {
            best = candidate;
            any = true;
        }
    }
    closedir(dir);
    if (any)
        found = best;
    return any;
}

std::string NativePath(std::string_view text) {
    std::string base;
    std::string_view rest = text;
    if (text.size() >= 2 && text[1] == ':' &&
        ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'))) {
        char drive = static_cast<char>(text[0] | 0x20);
        base = WinePrefix() + "/dosdevices/" + drive + ":";
        rest = text.substr(2);
    } else if (!text.empty() && (text[0] == '/' || text[0] == '\\')) {
        base = "";
    } else {
        base = ".";
    }
    bool absolute = base.empty();

    std::vector<std::string> parts;
    std::string part;
    for (char c : rest) {
        if (c == '/' || c == '\\') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);

    std::string path = base;
    bool lookup = true;
    for (const std::string& p : parts) {
        std::string folder = absolute && path.empty() ? "/" : path;
        std::string candidate = (path == "/" ? "" : path) + "/" + p;
        if (lookup && p != "." && p != ".." && !EntryExists(candidate)) {
            std::string found;
            if (FindCaseInsensitive(folder, p, found))
                candidate = (path == "/" ? "" : path) + "/" + found;
            else
                lookup = false; // nothing below a missing component can exist
        }
        path = candidate;
    }
    if (path.empty())
        return "/";
    if (!absolute && path.rfind("./", 0) == 0 && base == ".")
        path = path.substr(2);
    if (path.empty() || path == ".")
        return ".";
    return path;
}

bool FileExists(std::string_view text) {
    struct stat st;
    return stat(NativePath(text).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(std::string_view text) {
    struct stat st;
    return stat(NativePath(text).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFileAt(std::string_view text) {
    std::string native = NativePath(text);
    struct stat st;
    if (lstat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    return unlink(native.c_str()) == 0;
}

std::string GetProgramFolder() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return ".";
    std::string exe(buffer, static_cast<size_t>(n));
    size_t slash = exe.rfind('/');
    return slash == std::string::npos ? "." : exe.substr(0, slash);
}

std::string ExtractFileName(std::string_view text) {
    size_t sep = text.find_last_of("\\/");
    return std::string(sep == std::string_view::npos ? text : text.substr(sep + 1));
}

std::string ExtractFilePath(std::string_view text) {
    size_t sep = text.find_last_of("\\/");
    return sep == std::string_view::npos ? std::string() : std::string(text.substr(0, sep + 1));
}

std::string AbsoluteAgainst(std::string_view path, std::string_view folder) {
    const bool absolute = !path.empty() && (path[0] == '/' || path[0] == '\\');
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (path.empty() || absolute || drive || folder.empty())
        return std::string(path);
    std::string joined(folder);
    if (joined.back() != '/')
        joined += '/';
    return joined + std::string(path);
}
