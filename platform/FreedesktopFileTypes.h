#pragma once

#include "platform/FileTypeRegistrar.h"

#include <functional>
#include <string>

// Registers XPD packages with the desktop the freedesktop way: a shared-mime-info package for
// application/x-zelta-xpd (with the type's icon), a desktop entry zeltasc.desktop opening them
// with this program (with the application's icon, out of the menus), and the default application
// in mimeapps.list. An installed copy (as UtilityPlaces decided at start) uses the menu entry
// (org.example.zeltasc.desktop) and file type its installation put into the system's or the
// user's data folders instead and writes only the default application. Each file is written only
// where its content differs; the desktop's databases are refreshed when something changed.
class FreedesktopFileTypes : public FileTypeRegistrar {
public:
    // programPath: the running program (native); installed: whether it is an installed copy;
    // dataHome/configHome: the XDG folders, by default $XDG_DATA_HOME (else ~/.local/share) and
    // $XDG_CONFIG_HOME (else ~/.config).
    FreedesktopFileTypes(std::string programPath, bool installed, std::string dataHome = {},
                         std::string configHome = {});

    void RegisterXpdFileType() override;

    // Runs a refresh tool (name, folder); tests replace it. By default the tool runs when it is
    // on PATH and its outcome is not examined.
    std::function<void(const std::string& tool, const std::string& folder)> runTool;

    // The Exec line's program argument, quoted when it holds a reserved character.
    static std::string ExecArgument(const std::string& programPath);

private:
    std::string program_;
    bool installed_;
    std::string dataHome_;
    std::string configHome_;
};
