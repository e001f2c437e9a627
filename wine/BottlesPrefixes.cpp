#include "wine/BottlesPrefixes.h"

#include "wine/YamlScalars.h"

namespace {

bool IsTrue(const std::string& value) {
    return value == "true" || value == "True" || value == "yes";
}

void AddBottles(const HomeFolders& folders, ManagerInstall install, const std::string& root,
                std::vector<FoundPrefix>& found) {
    // data.yml's custom_bottles_path moves every bottle, while it names a folder.
    std::string data;
    ReadSmallFile(root + "/data.yml", data);
    std::string bottles =
        ExpandHome(ReadYamlScalar(data, {"custom_bottles_path"}).value_or(""), folders.home);
    if (bottles.empty() || bottles.front() != '/' || !IsFolder(bottles))
        bottles = root + "/bottles";
    for (const std::string& name : FolderNames(bottles)) {
        std::string settingsFile = bottles + "/" + name + "/bottle.yml";
        std::string text;
        if (!ReadSmallFile(settingsFile, text)) {
            // A bottle made in a folder of the player's choice leaves only a pointer here.
            std::string placeholder;
            ReadSmallFile(bottles + "/" + name + "/placeholder.yml", placeholder);
            const std::string path =
                ExpandHome(ReadYamlScalar(placeholder, {"Path"}).value_or(""), folders.home);
            if (path.empty() || path.front() != '/')
                continue;
            settingsFile = path + "/bottle.yml";
            if (!ReadSmallFile(settingsFile, text))
                continue;
        }
        FoundPrefix prefix;
        prefix.manager = PrefixManager::Bottles;
        prefix.install = install;
        const std::string path =
            ExpandHome(ReadYamlScalar(text, {"Path"}).value_or(""), folders.home);
        if (IsTrue(ReadYamlScalar(text, {"Custom_Path"}).value_or("false"))) {
            if (path.empty() || path.front() != '/')
                continue;
            prefix.folder = path;
        } else {
            prefix.folder = bottles + "/" + (IsPlainName(path) ? path : name);
        }
        prefix.managerFolder = root;
        prefix.settingsFile = settingsFile;
        prefix.id = ReadYamlScalar(text, {"Name"}).value_or(name);
        found.push_back(std::move(prefix));
    }
}

} // namespace

std::vector<FoundPrefix> FindBottlesPrefixes(const HomeFolders& folders) {
    std::vector<FoundPrefix> found;
    AddBottles(folders, ManagerInstall::Native, folders.dataHome + "/bottles", found);
    AddBottles(folders, ManagerInstall::Flatpak,
               folders.home + "/.var/app/com.usebottles.bottles/data/bottles", found);
    return found;
}
