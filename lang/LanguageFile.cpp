#include "lang/LanguageFile.h"
#include "platform/WindowsText.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/TextRules.h"
#include "platform/WildcardSearch.h"

const std::array<CatalogueText, kCatalogueSize>& TextCatalogue() {
    static const std::array<CatalogueText, kCatalogueSize> catalogue = {{
        {"Buttons", "Rescan", "&Rescan", "", ""},
        {"Buttons", "Browse", "&Browse", "", ""},
        {"Buttons", "About", "&About", "", ""},
        {"Buttons", "ReadMe", "&Read &Me", "", ""},
        {"Buttons", "Default", "Default", "", ""},
        {"Buttons", "StartGame", "&Start game", "", ""},
        {"Buttons", "Exit", "E&xit", "", ""},
        {"Buttons", "BrowseFolder", "&Browse Folder", "", ""},
        {"Buttons", "Okay", "&Okay", "", ""},
        {"Buttons", "Cancel", "&Cancel", "", ""},
        {"Buttons", "Language", "&Language", "", ""},
        {"General", "Title", "General Settings", " ", " "},
        {"General", "1", "ZELTA Destination Folder", "", ":"},
        {"General", "2", "Select game version", "", ":"},
        {"General", "3", "Patch detected", "", ":"},
        {"Misc", "Title", "Miscellaneous", " ", " "},
        {"Misc", "1", "Show Game Settings dialog", "", ""},
        {"Misc", "2", "Show Select Level dialog", "", ""},
        {"Misc", "3", "Skip FMV's (introduction and in-game mpegs)", "", ""},
        {"Misc", "4", "Debug keys (Debug option in game menu)", "", ""},
        {"Misc", "5", "All weapons and ammo (double pistols also)", "", ""},
        {"Screen", "Title", "Screen Mode", " ", " "},
        {"Screen", "1", "Full Screen", "", ""},
        {"Screen", "2", "Windowed (24/32-bit only)", "", ""},
        {"Screen", "3", "Override Screen Resolution (Full Screen only)", "", ""},
        {"Screen", "4", "at", "", ""},
        {"Levels", "Title", "Play Level/ Cutscene/ FMV", " ", ""},
        {"Levels", "1", "Play specific level", "", ""},
        {"Levels", "2", "Show specific cutscene", "", ""},
        {"Levels", "3", "Show FMV via internal player", "", ""},
        {"Levels", "4", "Show Player Controls / Trackbar", "", ""},
        {"Record", "Title", "Record Your Demo", " ", ""},
        {"Record", "1", "Please select level to record", "", ""},
        {"Record", "2", "Save as PAD (fixed filename)", "", ""},
        {"Record", "3", "Save as XPD (you may browse for filename)", "", ""},
        {"Record", "4", "Demo will be saved as", "", ""},
        {"Play", "Title", "Play Recorded Demo", " ", ""},
        {"Play", "1", "Select recorded demo to play (PAD file)", "", ""},
        {"Play", "2", "Browse for recorded demo to play (XPD file)", "", ""},
    }};
    return catalogue;
}

std::string LanguageFilePath(std::string_view utilityFolder, std::string_view languageName) {
    return std::string(utilityFolder) + "\\" + std::string(languageName) + ".lng";
}

std::string FindLanguageFile(std::string_view utilityFolder, std::string_view languageName) {
    const std::string path = LanguageFilePath(utilityFolder, languageName);
    if (FileExists(path))
        return path;
    const std::string wanted = DecodeWindowsText(languageName);
    for (const std::string& name : ListLanguages(utilityFolder))
        if (SameText(DecodeWindowsText(name), wanted))
            return LanguageFilePath(utilityFolder, name);
    return path;
}

LanguageFile::LanguageFile(const std::string& path) {
    if (auto bytes = ReadWholeFile(NativePath(path)))
        *this = FromText(*bytes);
}

LanguageFile LanguageFile::FromText(std::string_view bytes) {
    // Editors often start a UTF-8 file with a byte-order mark; it must not hide the first
    // section line.
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark)
        bytes.remove_prefix(kUtf8Mark.size());
    LanguageFile file;
    file.doc_ = IniDocument::Parse(bytes);
    return file;
}

std::string LanguageFile::Text(std::string_view section, std::string_view key,
                               std::string_view def) const {
    if (auto value = doc_.Read(section, key))
        return *value; // decoded by the document
    return std::string(def);
}

std::int32_t LanguageFile::Integer(std::string_view section, std::string_view key,
                                   std::int32_t def) const {
    auto value = doc_.Read(section, key);
    if (!value)
        return def;
    return ParseInteger(*value, /*bareX=*/true).value_or(def);
}

LanguageLayout LanguageFile::Layout() const {
    LanguageLayout defaults;
    LanguageLayout layout;
    layout.font = Text("Layout", "Font", defaults.font);
    layout.size = Integer("Layout", "Size", defaults.size);
    layout.author = Text("Layout", "Author", defaults.author);
    layout.email = Text("Layout", "Email", defaults.email);
    layout.site = Text("Layout", "Site", defaults.site);
    return layout;
}

std::vector<std::string> LanguageFile::Captions() const {
    std::vector<std::string> captions;
    captions.reserve(kCatalogueSize);
    for (const CatalogueText& entry : TextCatalogue())
        captions.push_back(entry.before + Text(entry.section, entry.key, entry.defaultText) +
                           entry.after);
    return captions;
}

std::vector<std::string> ListLanguages(std::string_view utilityFolder) {
    std::vector<std::string> names;
    for (const FoundEntry& entry : FindFiles(std::string(utilityFolder) + "\\*.lng"))
        names.push_back(entry.name.size() > 4 ? entry.name.substr(0, entry.name.size() - 4)
                                              : std::string());
    return names;
}
