#include "platform/WildcardSearch.h"

#include "platform/Paths.h"
#include "platform/TextRules.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace {

// Pattern elements after the DOS rewrite of the mask.
enum : char { kDosStar = '<', kDosQm = '>', kDosDot = '"' };

std::string RewriteMask(std::string_view mask) {
    bool endedWithDot = false;
    while (!mask.empty() && (mask.back() == '.' || mask.back() == ' ')) {
        endedWithDot = endedWithDot || mask.back() == '.';
        mask.remove_suffix(1);
    }
    std::string out;
    for (size_t i = 0; i < mask.size(); ++i) {
        char c = mask[i];
        if (c == '?')
            out += kDosQm;
        else if (c == '.' && i + 1 < mask.size() && (mask[i + 1] == '*' || mask[i + 1] == '?'))
            out += kDosDot;
        else if (c == kDosStar || c == kDosQm || c == kDosDot)
            out += '\x01'; // these characters cannot appear in a file name; never match
        else
            out += c;
    }
    if (endedWithDot && !out.empty() && out.back() == '*')
        out.back() = kDosStar;
    return out;
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

bool MatchesWildcard(std::string_view rawMask, std::string_view name) {
    const std::string mask = RewriteMask(rawMask);
    const size_t m = mask.size(), n = name.size();
    const size_t lastDot = name.rfind('.');
    // reach[i][j]: mask[0..i) can match name[0..j).
    std::vector<std::vector<char>> reach(m + 1, std::vector<char>(n + 1, 0));
    reach[0][0] = 1;
    for (size_t i = 0; i < m; ++i) {
        char p = mask[i];
        for (size_t j = 0; j <= n; ++j) {
            if (!reach[i][j])
                continue;
            switch (p) {
            case '*':
                for (size_t k = j; k <= n; ++k)
                    reach[i + 1][k] = 1;
                break;
            case kDosStar: {
                // Any run of characters that stops short of the name's final dot.
                size_t limit = (lastDot != std::string_view::npos && lastDot >= j) ? lastDot : n;
                for (size_t k = j; k <= limit; ++k)
                    reach[i + 1][k] = 1;
                break;
            }
            case kDosQm:
                if (j < n && name[j] != '.')
                    reach[i + 1][j + 1] = 1;
                else
                    reach[i + 1][j] = 1;
                break;
            case kDosDot:
                if (j < n && name[j] == '.')
                    reach[i + 1][j + 1] = 1;
                if (j == n)
                    reach[i + 1][j] = 1;
                break;
            default:
                if (j < n && Upper(name[j]) == Upper(p))
                    reach[i + 1][j + 1] = 1;
                break;
            }
        }
    }
    return reach[m][n] != 0;
}

std::vector<FoundEntry> FindFiles(std::string_view pattern) {
    std::vector<FoundEntry> found;
    size_t sep = pattern.find_last_of("\\/");
    std::string_view folderText =
        sep == std::string_view::npos ? std::string_view() : pattern.substr(0, sep + 1);
    std::string_view mask = sep == std::string_view::npos ? pattern : pattern.substr(sep + 1);
    std::string folder = folderText.empty() ? "." : NativePath(folderText);

    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return found;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || !MatchesWildcard(mask, name))
            continue;
        struct stat st;
        bool isDir = stat((folder + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        found.push_back({name, isDir});
    }
    closedir(dir);
    std::sort(found.begin(), found.end(), [](const FoundEntry& a, const FoundEntry& b) {
        std::string ua = UpperCase(a.name), ub = UpperCase(b.name);
        return ua != ub ? ua < ub : a.name < b.name;
    });
    return found;
}
