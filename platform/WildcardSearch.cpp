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

// Whether a mask already in its DOS form matches the name. reach is scratch space, reused across
// calls so a folder listing does not allocate per entry.
bool MatchesDosMask(std::string_view mask, std::string_view name, std::vector<char>& reach) {
    const size_t m = mask.size(), n = name.size();
    const size_t lastDot = name.rfind('.');
    // at(i, j): mask[0..i) can match name[0..j).
    reach.assign((m + 1) * (n + 1), 0);
    auto at = [&reach, n](size_t i, size_t j) -> char& { return reach[i * (n + 1) + j]; };
    at(0, 0) = 1;
    for (size_t i = 0; i < m; ++i) {
        char p = mask[i];
        for (size_t j = 0; j <= n; ++j) {
            if (!at(i, j))
                continue;
            switch (p) {
            case '*':
                for (size_t k = j; k <= n; ++k)
                    at(i + 1, k) = 1;
                break;
            case kDosStar: {
                // Any run of characters that stops short of the name's final dot.
                size_t limit = (lastDot != std::string_view::npos && lastDot >= j) ? lastDot : n;
                for (size_t k = j; k <= limit; ++k)
                    at(i + 1, k) = 1;
                break;
            }
            case kDosQm:
                if (j < n && name[j] != '.')
                    at(i + 1, j + 1) = 1;
                else
                    at(i + 1, j) = 1;
                break;
            case kDosDot:
                if (j < n && name[j] == '.')
                    at(i + 1, j + 1) = 1;
                if (j == n)
                    at(i + 1, j) = 1;
                break;
            default:
                if (j < n && Upper(name[j]) == Upper(p))
                    at(i + 1, j + 1) = 1;
                break;
            }
        }
    }
    return at(m, n) != 0;
}

} // namespace

bool MatchesWildcard(std::string_view rawMask, std::string_view name) {
    std::vector<char> reach;
    return MatchesDosMask(RewriteMask(rawMask), name, reach);
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
    const std::string dosMask = RewriteMask(mask);
    std::vector<char> scratch;
    std::vector<std::pair<std::string, FoundEntry>> listed; // with the upper-cased name to sort by
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || !MatchesDosMask(dosMask, name, scratch))
            continue;
        // The entry's type comes with the listing; only links and file systems that leave it
        // out need a stat (which follows a link to what it names).
        bool isDir = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat st;
            isDir = stat((folder + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        std::string upper = UpperCase(name);
        listed.push_back({std::move(upper), FoundEntry{std::move(name), isDir}});
    }
    closedir(dir);
    std::sort(listed.begin(), listed.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second.name < b.second.name;
    });
    found.reserve(listed.size());
    for (auto& entry : listed)
        found.push_back(std::move(entry.second));
    return found;
}
