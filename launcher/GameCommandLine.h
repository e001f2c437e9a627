#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

// What the main window holds when "Start game" is pressed, read from its controls. A list with
// no selected entry gives no value.
struct LaunchChoices {
    std::string gameFolder; // ends with a separator
    std::string executable; // selected entry of the executable list (may be empty)

    bool levels = false;
    bool levelChosen = false;    // "Play specific level"
    bool cutsceneChosen = false; // "Show specific cutscene"
    std::optional<std::string> level;
    std::optional<std::string> cutscene;

    bool recordDemo = false;
    std::optional<std::string> recordLevel;
    bool recordAsPad = true;
    std::string recordFile;

    bool playDemo = false;
    bool playPad = true;
    std::optional<std::string> playPadFile;
    std::string playPackage;

    bool settingsDialog = false;
    bool levelDialog = false;
    bool godMode = false;
    bool debugKeys = false;
    bool noFmv = false;
    bool fullScreen = false;
    bool windowed = false;

    bool changeResolution = false;
    int resolutionIndex = 0; // 0 = "inherit game settings"; -1 = nothing selected
    std::string resolutionText;
    bool hzEnabled = false;
    std::string hzText;
};

enum class MessageKind { Information, Error };

struct Refusal {
    MessageKind kind;
    std::string text;
};

struct GameCommand {
    std::string program;
    std::string arguments;
};

struct GameCommandServices {
    // File base name for a shown name of a name table section ("levels", "cutscenes").
    std::function<std::string(const std::string& shownName, const std::string& section)>
        lookupFileKey;
    std::function<bool(const std::string& path)> fileExists;
    // Unpacks an XPD package and loads its options: yields the demo's base name or a refusal. It
    // may change the switches in choices, which then follow the package's options.
    std::function<std::variant<std::string, Refusal>(const std::string& path,
                                                     LaunchChoices& choices)>
        prepareXpdPlayback;
};

// Copies what the switches and the screen-mode argument are built from (the inputs read after
// an XPD package's options were loaded into the window).
void TakeSwitchesAndScreenMode(LaunchChoices& to, const LaunchChoices& from);

// The program path and argument string for the game, or the refusal to show.
std::variant<GameCommand, Refusal> BuildGameArguments(LaunchChoices choices,
                                                      const GameCommandServices& services);

// A name without its extension: the text from the last "." on, when that dot stands after the
// last "\", "/" or ":".
std::string RemoveExtension(std::string_view name);

// Value of the game's " -mode=" argument for an entry of the mode list such as
// "1024 x 768, 32 bpp": its digits and lowercase "x" up to the first comma, then "x" and the
// refresh rate (or "x60" when the refresh list is disabled).
std::string GetModeArgument(std::string_view itemText, bool hzEnabled, std::string_view hzText);

// File base name for a shown name, looked up backwards in a name table section of the settings
// file: the key of the first line whose value equals the shown name without regard to case, or
// the shown name itself.
std::string LookupFileKey(const std::string& settingsFile, const std::string& shownName,
                          const std::string& section);
