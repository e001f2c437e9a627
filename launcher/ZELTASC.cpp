// The program: builds the platform services, creates the four windows in order and runs the
// event loop until the main window closes.
#include "lang/untAbout.h"
#include "lang/untLanguage.h"
#include "launcher/untBrowse.h"
#include "launcher/untMain.h"
#include "platform/DesktopProgramStarter.h"
#include "platform/FreedesktopFileTypes.h"
#include "platform/Paths.h"
#include "platform/QtAppWindow.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtPauses.h"
#include "platform/UtilityPlaces.h"
#include "platform/X11WindowFinder.h"
#include "platform/XrandrDisplayModes.h"
#include "resources/Fonts.h"
#include "resources/Glyphs.h"
#include "wine/GamePrefixes.h"
#include "wine/PrefixLaunch.h"
#include "wine/WinePrefixGameRegistry.h"

#include <QApplication>
#include <QTimer>

#include <climits>
#include <filesystem>
#include <future>
#include <unistd.h>

namespace {
// The running program's path, as the desktop entry names it.
std::string ProgramPath(const char* argv0) {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string(argv0);
}

// The folder the program was started in; a relative package path on the command line is
// relative to it (empty when it cannot be told).
std::string StartFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string() : folder.string();
}
} // namespace

int main(int argc, char** argv) {
    const std::string startFolder = StartFolder();
    // The search through the player's prefixes reads up to some hundred megabytes of registry
    // files; it runs while Qt starts and is waited for before the first path is mapped.
    const HomeFolders homeFolders = HomeFolders::FromEnvironment();
    std::future<GamePrefixes::Search> prefixSearch =
        std::async(std::launch::async, [homeFolders] { return GamePrefixes::Find(homeFolders); });
    FixFontResolution();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZELTA SCU"));
    // The window's Wayland app id names the installed menu entry, so docks and task switchers
    // show its name and icon; on X11 the entry's StartupWMClass names the window's class
    // instance, "zeltasc" (the program's file name).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.zeltasc"));
    QApplication::setWindowIcon(ApplicationIcon());
    RegisterDesignFonts();

    // The prefix the game's record comes from; it is put into WINEPREFIX (on this thread) before
    // anything maps a drive letter.
    GamePrefixes prefixes(homeFolders, prefixSearch.get());
    QtMessageBoxes messages;
    // How the game is started is its prefix's manager's way; its output goes to the game log.
    PrefixLaunchPlanner planner(&prefixes, startFolder);
    DesktopProgramStarter starter(&planner, DefaultOutputLog());
    QtPauses pauses;
    X11WindowFinder windows;
    // Beside the program, or per user for an installed copy: decided once, here.
    const UtilityPlaces places = LocateUtilityPlaces(GetProgramFolder());
    FreedesktopFileTypes fileTypes(ProgramPath(argv[0]), places.Installed());
    QtAppWindow appWindow;
    QtFileDialogs fileDialogs;
    MainServices services;
    services.messages = &messages;
    services.starter = &starter;
    WinePrefixGameRegistry registry(prefixes.Current().folder);
    services.registry = &registry;
    XrandrDisplayModes displayModes;
    services.displayModes = &displayModes;
    services.pauses = &pauses;
    services.windows = &windows;
    services.fileTypes = &fileTypes;
    services.appWindow = &appWindow;
    services.fileDialogs = &fileDialogs;
    services.prefixes = &prefixes;

    TfrmMain mainWindow(services, places);
    frmMain = &mainWindow;
    appWindow.SetWindow(&mainWindow);
    fileDialogs.SetOwner(&mainWindow);
    TfrmBrowse browse(&mainWindow, QString(), QString(), BrowsePrefixNodes(prefixes));
    frmBrowse = &browse;
    TfrmAbout about(&mainWindow);
    frmAbout = &about;
    TfrmLanguage language(places.LanguageFolders(), &starter, &mainWindow);
    frmLanguage = &language;

    if (argc > 1)
        mainWindow.SetCommandLineArgument(argv[1], startFolder);
    QObject::connect(&mainWindow, &TfrmMain::endRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);

    if (mainWindow.StartedWithPackage()) {
        // Opened on a package: the show sequence runs without the window ever being mapped, plays
        // the package and ends the program.
        QTimer::singleShot(0, &mainWindow, [&mainWindow] { mainWindow.FormShow(); });
    } else {
        mainWindow.show();
    }
    const int result = QApplication::exec();
    frmLanguage = nullptr;
    frmAbout = nullptr;
    frmBrowse = nullptr;
    frmMain = nullptr;
    return result;
}
