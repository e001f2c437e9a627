#include "platform/FolderListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <string_view>
#include <utility>

namespace {
// Calls found(name) for each subfolder until it returns false.
template <typename Found> void EachSubfolder(const std::string& folder, Found found) {
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st;
            isFolder = fstatat(dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        if (isFolder && !found(std::string(name)))
            break;
    }
    closedir(dir);
}
} // namespace

std::vector<std::string> ListSubfolders(const std::string& folder) {
    std::vector<std::string> names;
    EachSubfolder(folder, [&](std::string name) {
        names.push_back(std::move(name));
        return true;
    });
    return names;
}

bool HasSubfolder(const std::string& folder) {
    bool any = false;
    EachSubfolder(folder, [&](const std::string&) {
        any = true;
        return false;
    });
    return any;
}
