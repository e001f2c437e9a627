#include "launcher/BrowseRules.h"

#include "platform/Paths.h"

std::string WithTrailingSeparator(std::string path) {
    if (!path.empty() && (path.back() == '/' || path.back() == '\\'))
        return path;
    path += path.find('/') != std::string::npos ? '/' : '\\';
    return path;
}

bool IsGameFolder(const std::string& folderPath) {
    // An empty path would turn into "\launcher.exe" and probe the file-system root.
    if (folderPath.empty())
        return false;
    return FileExists(WithTrailingSeparator(folderPath) + "launcher.exe");
}
