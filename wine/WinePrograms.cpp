#include "wine/WinePrograms.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

bool IsExecutableFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    const std::string list = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        // An empty entry of PATH stands for the current folder.
        const std::string folder = end > start ? list.substr(start, end - start) : std::string(".");
        const std::string candidate = folder + "/" + name;
        if (IsExecutableFile(candidate))
            return candidate;
        start = end + 1;
    }
    return {};
}

std::string NamedWineProgram(const std::string& startFolder) {
    const char* named = std::getenv("WINE");
    if (!named || !*named)
        return {};
    const std::string wine = named;
    if (wine.find('/') == std::string::npos)
        return FindOnPath(wine);
    const std::string path =
        wine.front() == '/' || startFolder.empty() ? wine : startFolder + "/" + wine;
    return IsExecutableFile(path) ? path : std::string();
}

std::string FindWineProgram(const std::string& startFolder) {
    const std::string named = NamedWineProgram(startFolder);
    return named.empty() ? FindOnPath("wine") : named;
}
