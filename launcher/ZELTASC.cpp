// The program: builds the platform services, creates the four windows in order and runs the
// event loop until the main window closes.
#include "lang/untAbout.h"
#include "lang/untLanguage.h"
#include "launcher/untBrowse.h"
#include "launcher/untMain.h"
#include "platform/DesktopProgramStarter.h"
#include "platform/Paths.h"
#include "platform/QtMessageBoxes.h"
#include "platform/WinePrefixGameRegistry.h"
#include "platform/XrandrDisplayModes.h"
#include "resources/Fonts.h"
#include "resources/Glyphs.h"

#include <QApplication>

int main(int argc, char** argv) {
    FixFontResolution();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZELTA SCU"));
    QApplication::setWindowIcon(ApplicationIcon());
    RegisterDesignFonts();

    QtMessageBoxes messages;
    DesktopProgramStarter starter;
    MainServices services;
    services.messages = &messages;
    services.starter = &starter;
    WinePrefixGameRegistry registry(WinePrefix());
    services.registry = &registry;
    XrandrDisplayModes displayModes;
    services.displayModes = &displayModes;

    TfrmMain mainWindow(services, GetProgramFolder());
    frmMain = &mainWindow;
    TfrmBrowse browse(&mainWindow);
    frmBrowse = &browse;
    TfrmAbout about(&mainWindow);
    frmAbout = &about;
    TfrmLanguage language(GetProgramFolder(), &starter, &mainWindow);
    frmLanguage = &language;

    if (argc > 1)
        mainWindow.SetCommandLineArgument(argv[1]);
    QObject::connect(&mainWindow, &TfrmMain::endRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);

    mainWindow.show();
    const int result = QApplication::exec();
    frmLanguage = nullptr;
    frmAbout = nullptr;
    frmBrowse = nullptr;
    frmMain = nullptr;
    return result;
}
