#pragma once

#include "launcher/GameCommandLine.h"
#include "launcher/MainServices.h"
#include "launcher/Options.h"
#include "launcher/ScreenModes.h"
#include "launcher/XpdRecording.h"
#include "platform/UtilityPlaces.h"

#include <QWidget>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The main window: every option of the utility lives in its controls.
class TfrmMain : public QWidget {
    Q_OBJECT

public:
    // places: where settings.ini, readme.txt and the language files are (LocateUtilityPlaces in
    // production); a utilityFolder alone is a self-contained folder holding all of them, without
    // a trailing separator.
    TfrmMain(const MainServices& services, UtilityPlaces places, QWidget* parent = nullptr);
    TfrmMain(const MainServices& services, const std::string& utilityFolder,
             QWidget* parent = nullptr)
        : TfrmMain(services, UtilityPlaces::SelfContained(utilityFolder), parent) {}

    // General Settings
    QGroupBox* gbGeneral;
    QLabel* lblGameDest;
    QLabel* stxDestFolder;
    QPushButton* btnBrowse;
    QFrame* bvlGeneral;
    QLabel* lblCPU;
    QComboBox* cbEXE;
    QLabel* lblVersion;
    QLabel* stxVersion;
    QPushButton* btnLanguage;

    // Play Level / Cutscene / FMV
    QGroupBox* gbLevels;
    QCheckBox* cbxLevels;
    QRadioButton* rbLevel;
    QPushButton* btnScanLevel;
    QComboBox* cbLevel;
    QRadioButton* rbCutScene;
    QPushButton* btnScanScene;
    QComboBox* cbCutScene;
    QRadioButton* rbFMV;
    QPushButton* btnScanFMV;
    QComboBox* cbFMV;
    QCheckBox* cbxControls;

    // Miscellaneous
    QGroupBox* gbMisc;
    QCheckBox* cbxSettingsDialog;
    QCheckBox* cbxLevelDialog;
    QCheckBox* cbxNoFMV;
    QCheckBox* cbxDebugKeys;
    QCheckBox* cbxGodMode;

    // Screen Mode
    QGroupBox* gbScreen;
    QRadioButton* cbFullScreen;
    QRadioButton* cbWindowed;
    QFrame* bvlScreen;
    QCheckBox* cbxChangeResolution;
    QComboBox* cbResolution;
    QLabel* lblAt;
    QComboBox* cbHz;
    QLabel* lblHz;

    // Record Your Demo
    QGroupBox* gbRecordDemo;
    QCheckBox* cbxRecordDemo;
    QLabel* lblRecord;
    QComboBox* cbRecord;
    QPushButton* btnRecordScan;
    QRadioButton* rbPAD;
    QRadioButton* rbXPD;
    QLabel* lblRecordFileName;
    QLineEdit* edtRecordDemo;
    QPushButton* btnBrowseDemo;

    // Play Recorded Demo
    QGroupBox* gbPlayDemo;
    QCheckBox* cbxPlayDemo;
    QRadioButton* rbPlayPAD;
    QRadioButton* rbPlayXPD;
    QComboBox* cbPlay;
    QPushButton* btnPlayRescan;
    QLineEdit* edtPlayDemo;
    QPushButton* btnBrowsePlay;

    // Button row
    QPushButton* btnAbout;
    QPushButton* btnReadMe;
    QPushButton* btnReset;
    QPushButton* btnPlay;
    QPushButton* btnExit;

    // Plain operations
    // The utility folder (readme.txt, the shipped language files).
    std::string GetProgramFolder() const { return places_.utilityFolder; }
    std::string SettingsFile() const { return places_.SettingsFile(); }
    std::string GameFolder() const;
    void SaveOptions(const std::string& file, bool withExecutable);
    void LoadOptions(const std::string& file, bool withExecutable);
    std::string LookupFileKey(const std::string& shownName, const std::string& section) const;
    // The program path and argument string, or no value after a refusal was shown.
    std::optional<GameCommand> BuildGameArguments();
    LaunchChoices ReadLaunchChoices() const;
    void ApplyLanguage(const std::string& languageName);
    // Unpacks an XPD package into the game's bin folder and loads its options into the window:
    // the demo's base name, or the refusal to show.
    std::variant<std::string, Refusal> PrepareXpdPlayback(const std::string& packagePath);

    // Demo work around a launch (untMainDemos.cpp).
    void FinishXpdPlayback(const std::string& demoBaseName);
    void PackRecordedXpd(const XpdRecording& recording);
    std::string FindTempDemo() const;
    // The options as the window shows them (section "config").
    StoredOptions WindowOptions() const;
    // What an XPD recording started now will be packed with (the level name given to the game
    // and the window's options at the start), or no value when no XPD recording is chosen.
    std::optional<XpdRecording> TakeXpdRecording() const;
    // Whether the utility runs on the package road: decided once, at start, and kept for the run.
    bool StartedWithPackage() const { return startedWithPackage_; }

    // Event handlers
    void FormCreate();
    void FormShow();
    void btnExitClick();
    void btnReadMeClick();
    void btnAboutClick();
    void btnLanguageClick();
    void btnResetClick();
    void cbEXEChange();
    void btnPlayClick();
    void cbxRecordDemoClick();
    void cbxPlayDemoClick();
    void rbPADClick();
    void rbPlayPADClick();
    void cbRecordChange();
    void btnBrowseDemoClick();
    void btnBrowsePlayClick();

    // Game discovery and content scans
    void ScanExecutables();
    void btnBrowseClick();
    void ScanLevels();
    void ScanCutscenes();
    void ScanMovies();
    void ScanDemos();
    void btnScanLevelClick();
    void btnScanSceneClick();
    void btnScanFMVClick();
    void btnRecordScanClick();

    // Screen modes
    void FillResolutionList();
    const ScreenModeTable& ScreenModes() const { return screenModes_; }
    void cbFullScreenClick();
    void cbxChangeResolutionClick();
    void cbResolutionChange();

    // Option panel rules: the level group, and the demo groups' title boxes
    void cbxLevelsClick();
    void rbLevelClick();

    // Runs a handler body; an error of the settings, registry or archive layers ends it and is
    // shown in the application error box. Returns whether the body ran to its end.
    bool RunHandler(const std::function<void()>& body);

    // Sets a radio button by program: checking runs its click reaction and clears its partner;
    // clearing runs nothing, even for the checked button of a group.
    static void SetRadioChecked(QRadioButton* button, bool checked);

    // The command line's first argument, taken at start-up before anything changes the current
    // folder: made absolute against startFolder (the folder the program was started in), and
    // the package road taken when it names an existing file now.
    void SetCommandLineArgument(const std::string& argument, const std::string& startFolder);

signals:
    // The show sequence asked for the end of the program (after an XPD package was played).
    void endRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void ConnectHandlers();
    void ConnectDiscoveryHandlers();
    // Steps of the show sequence before the options are loaded: game folder, executables,
    // content lists and screen modes.
    void DiscoverGame();
    // Names the Wine prefix in use in the destination field's hint.
    void ShowPrefixInUse();
    // Unchecks a group title box and runs its reaction once, whether or not it was checked.
    void SwitchOffGroup(QCheckBox* title, void (TfrmMain::*reaction)());
    void ConnectDemoHandlers();
    void ConnectLaunchHandlers();
    void RunLaunch();
    // After a wait in which none of the game's windows appeared: says so when its program
    // ended with a failure.
    void ReportEarlyEnd();
    void PlayMovie(const std::string& moviePath);
    // Show sequence, last steps: plays the package named by the first argument and asks for the
    // end of the program.
    void OpenPackageFromCommandLine();

    MainServices services_;
    UtilityPlaces places_;
    std::string commandLineArgument_;
    bool startedWithPackage_ = false;
    bool shown_ = false;
    ScreenModeTable screenModes_;
    std::string unpackedDemo_; // base name of the demo PrepareXpdPlayback unpacked
};

extern TfrmMain* frmMain;
