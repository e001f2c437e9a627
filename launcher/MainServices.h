#pragma once

class MessageBoxes;
class ProgramStarter;
class Pauses;
class WindowFinder;
class DisplayModes;
class GameRegistry;
class FileTypeRegistrar;
class AppWindow;
class FileDialogs;
class GamePrefixes;

// The platform services the main window reaches; production builds them in the program unit,
// tests hand in fakes. A service the tested code does not use may be left null.
struct MainServices {
    MessageBoxes* messages = nullptr;
    ProgramStarter* starter = nullptr;
    Pauses* pauses = nullptr;
    WindowFinder* windows = nullptr;
    DisplayModes* displayModes = nullptr;
    GameRegistry* registry = nullptr;
    FileTypeRegistrar* fileTypes = nullptr;
    AppWindow* appWindow = nullptr;
    FileDialogs* fileDialogs = nullptr;
    // The Wine prefixes found and the one in use (named in the destination field's hint).
    GamePrefixes* prefixes = nullptr;
};
