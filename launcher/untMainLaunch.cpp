// Starting the game (or a movie) and waiting for its end.
#include "launcher/untMain.h"

#include "launcher/GameWait.h"
#include "platform/AppWindow.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"
#include "platform/Pauses.h"
#include "platform/ProgramStarter.h"
#include "platform/QtText.h"
#include "platform/ScuError.h"
#include "platform/WindowFinder.h"
#include "player/untFMV.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <unistd.h>

void TfrmMain::ConnectLaunchHandlers() {
    connect(btnPlay, &QPushButton::clicked, this, [this] { btnPlayClick(); });
}

void TfrmMain::SetCommandLineArgument(const std::string& argument, const std::string& startFolder) {
    // The launch makes the game folder current, so a relative path would name another file then.
    commandLineArgument_ = AbsoluteAgainst(argument, startFolder);
    startedWithPackage_ = !commandLineArgument_.empty() && FileExists(commandLineArgument_);
}

void TfrmMain::PlayMovie(const std::string& moviePath) {
    // Full screen and modal; returns when the movie window has closed.
    MovieWindowOpen(moviePath, cbxControls->isChecked());
}

void TfrmMain::btnPlayClick() {
    RunHandler([this] { RunLaunch(); });
}

void TfrmMain::RunLaunch() {
    if (cbxLevels->isChecked() && rbFMV->isChecked()) {
        const std::string shown =
            cbFMV->currentIndex() >= 0 ? Text(cbFMV->currentText()) : std::string();
        const std::string movie =
            GameFolder() + "data\\fmv\\" + LookupFileKey(shown, "fmvs") + ".mpg";
        if (FileExists(movie))
            PlayMovie(movie);
        else if (services_.messages)
            services_.messages->Error("The following file could not be found:\r\r" + movie);
        return;
    }

    if (StartedWithPackage() && services_.appWindow)
        services_.appWindow->HideFromDesktop();
    (void)!chdir(NativePath(GameFolder()).c_str());

    unpackedDemo_.clear();
    const std::optional<GameCommand> command = BuildGameArguments();
    if (!command)
        return;
    // What the game is started with decides the demo work after it (see XpdRecording).
    const bool xpdPlayback = cbxPlayDemo->isChecked() && rbPlayXPD->isChecked();
    const std::string playedDemo = unpackedDemo_;
    const std::optional<XpdRecording> recording = TakeXpdRecording();
    const bool settingsDialog = cbxSettingsDialog->isChecked();
    const bool levelDialog = cbxLevelDialog->isChecked();

    for (QPushButton* button : {btnPlay, btnExit, btnAbout})
        button->setEnabled(false);

    const std::string failure =
        services_.starter
            ? services_.starter->Start(command->program, command->arguments, GameFolder())
            : std::string("no program starter");
    const bool started = failure.empty();
    try {
        if (!started) {
            if (services_.messages)
                services_.messages->Error("The following program could not be started:\r\r" +
                                          command->program + "\r\r" + failure);
        } else {
            if (!StartedWithPackage() && services_.appWindow)
                services_.appWindow->Minimise();
            if (services_.pauses && services_.windows &&
                !WaitForGame(*services_.pauses, *services_.windows, settingsDialog, levelDialog,
                             services_.starter))
                ReportEarlyEnd();
        }
        if (xpdPlayback)
            FinishXpdPlayback(playedDemo);
        if (started && recording)
            PackRecordedXpd(*recording);
    } catch (const std::exception& error) {
        // The window is given back whatever went wrong after the start.
        if (services_.messages)
            services_.messages->ApplicationError(error.what());
    }

    if (started && !StartedWithPackage() && services_.appWindow)
        services_.appWindow->Restore();
    for (QPushButton* button : {btnPlay, btnExit, btnAbout})
        button->setEnabled(true);
    if (StartedWithPackage())
        emit endRequested();
}

void TfrmMain::ReportEarlyEnd() {
    // A game that failed at once would otherwise look like one that ran and ended.
    const std::optional<int> status = services_.starter->StartedProgramStatus();
    if (!status || !services_.messages)
        return;
    const std::string log = services_.starter->OutputLog();
    const std::string message = EarlyEndMessage(*status, LastLines(log, 12), log);
    if (!message.empty())
        services_.messages->Error(message);
}

void TfrmMain::OpenPackageFromCommandLine() {
    if (!StartedWithPackage())
        return;
    cbxPlayDemo->setChecked(true);
    SetRadioChecked(rbPlayXPD, true);
    edtPlayDemo->setText(QText(commandLineArgument_));
    btnPlay->click();
    // Whatever ended the launch (a refusal, an error or the game's end), the program ends.
    emit endRequested();
}
