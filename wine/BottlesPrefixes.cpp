#include "wine/BottlesPrefixes.h"

#include "wine/YamlScalars.h"

std::vector<FoundPrefix> FindBottlesPrefixes(const HomeFolders& folders) {
    std::vector<FoundPrefix> found;
    for (const std::string& root :
         {folders.dataHome + "/bottles",
          folders.home + "/.var/app/com.usebottles.bottles/data/bottles"}) {
        const std::string bottles = root + "/bottles";
        for (const std::string& name : FolderNames(bottles)) {
            std::string text;
            if (!ReadSmallFile(bottles + "/" + name + "/bottle.yml", text))
                continue;
            FoundPrefix prefix;
            prefix.manager = PrefixManager::Bottles;
            prefix.folder = bottles + "/" + name;
            const std::string custom = ReadYamlScalar(text, {"Custom_Path"}).value_or("false");
            if (custom == "true" || custom == "True" || custom == "yes") {
                const std::string path =
                    ExpandHome(ReadYamlScalar(text, {"Path"}).value_or(""), folders.home);
                if (path.empty() || path.front() != '/')
                    continue;
                prefix.folder = path;
            }
            const std::string runner = ReadYamlScalar(text, {"Runner"}).value_or("");
            if (!runner.empty() && runner.rfind("sys-", 0) != 0 &&
                runner.find('/') == std::string::npos && runner != "." && runner != "..")
                prefix.wine = root + "/runners/" + runner + "/bin/wine";
            found.push_back(std::move(prefix));
        }
    }
    return found;
}
