#include "launcher/GameCommandLine.h"

#include "platform/IniFile.h"
#include "platform/TextRules.h"

std::string RemoveExtension(std::string_view name) {
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return std::string(name);
    size_t sep = name.find_last_of("\\/:");
    if (sep != std::string_view::npos && sep > dot)
        return std::string(name);
    return std::string(name.substr(0, dot));
}

std::string GetModeArgument(std::string_view itemText, bool hzEnabled, std::string_view hzText) {
    std::string value;
    for (char c : itemText) {
        if (c == ',')
            break;
        if (c == 'x' || (c >= '0' && c <= '9'))
            value += c;
    }
    return value + "x" + (hzEnabled ? std::string(hzText) : std::string("60"));
}

std::string LookupFileKey(const std::string& settingsFile, const std::string& shownName,
                          const std::string& section) {
    for (const auto& [key, value] : IniFile(settingsFile).Snapshot().Entries(section))
        if (SameText(value, shownName)) // no upper-cased copy of the value
            return key;
    return shownName;
}

void TakeSwitchesAndScreenMode(LaunchChoices& to, const LaunchChoices& from) {
    to.settingsDialog = from.settingsDialog;
    to.levelDialog = from.levelDialog;
    to.godMode = from.godMode;
    to.debugKeys = from.debugKeys;
    to.noFmv = from.noFmv;
    to.fullScreen = from.fullScreen;
    to.windowed = from.windowed;
    to.changeResolution = from.changeResolution;
    to.resolutionIndex = from.resolutionIndex;
    to.resolutionText = from.resolutionText;
    to.hzEnabled = from.hzEnabled;
    to.hzText = from.hzText;
}

static Refusal Info(const char* text) {
    return {MessageKind::Information, text};
}

std::variant<GameCommand, Refusal> BuildGameArguments(LaunchChoices c,
                                                      const GameCommandServices& services) {
    GameCommand command{c.gameFolder + "bin\\" + c.executable, ""};
    std::string& args = command.arguments;

    if (c.levels) {
        if (!c.levelChosen && !c.cutsceneChosen)
            return Info("Please select level/cutscene to play");
        if (c.levelChosen) {
            if (!c.level)
                return Info("Please select level to play");
            args = "-level=data\\maps\\" + services.lookupFileKey(*c.level, "levels");
        }
        if (c.cutsceneChosen) {
            if (!c.cutscene)
                return Info("Please select cutscene to play");
            args =
                "-level=data\\maps\\cutscene\\" + services.lookupFileKey(*c.cutscene, "cutscenes");
        }
    }

    if (c.recordDemo) {
        if (!c.recordLevel)
            return Info("Please select level to record");
        if (c.recordFile.empty())
            return Info("Please enter demo filename to save");
        const std::string k = RemoveExtension(services.lookupFileKey(*c.recordLevel, "levels"));
        if (c.recordAsPad)
            args = "-padrecord=bin\\" + c.recordFile + " -level=data\\maps\\" + k + " -debugkeys";
        else
            args = "-padrecord=bin\\" + k + ".tmp -level=data\\maps\\" + k + " -debugkeys";
    }

    if (c.playDemo && c.playPad) {
        if (!c.playPadFile)
            return Info("Please select recorded demo to play");
        const std::string b = RemoveExtension(*c.playPadFile);
        args = "-padplayback=bin\\" + b + ".pad -level=data\\maps\\" + b;
    }

    if (c.playDemo && !c.playPad) {
        if (c.playPackage.empty())
            return Info("Please select demo filename to play");
        if (!services.fileExists(c.playPackage))
            return Refusal{MessageKind::Error,
                           "The following file could not be found:\r\r" + c.playPackage};
        auto prepared = services.prepareXpdPlayback(c.playPackage, c);
        if (auto* refusal = std::get_if<Refusal>(&prepared))
            return *refusal;
        const std::string& b = std::get<std::string>(prepared);
        args = "-padplayback=bin\\" + b + ".tmp -level=data\\maps\\" + b;
    }

    if (c.settingsDialog)
        args += " -settings";
    if (c.levelDialog)
        args += " -selectlevel";
    if (c.godMode)
        args += " -godmode";
    if (c.debugKeys)
        args += " -debugkeys";
    if (c.noFmv)
        args += " -nofmv";
    if (c.fullScreen)
        args += " -fullscreen";
    if (c.windowed)
        args += " -windowed";

    if (c.changeResolution && c.resolutionIndex > 0)
        args += " -mode=" + GetModeArgument(c.resolutionText, c.hzEnabled, c.hzText) +
                " -multisample=0";

    return command;
}
