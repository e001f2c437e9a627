#include "launcher/untMain.h"

#include "lang/untAbout.h"
#include "lang/untLanguage.h"
#include "platform/FileTypeRegistrar.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"
#include "platform/ProgramStarter.h"
#include "platform/QtText.h"
#include "platform/RegularFile.h"
#include "platform/ScuError.h"
#include "resources/Glyphs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>

TfrmMain* frmMain = nullptr;

TfrmMain::TfrmMain(const MainServices& services, UtilityPlaces places, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      services_(services), places_(std::move(places)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("ZELTA Startup Configuration Utility v0.82 BETA"));
    setWindowIcon(ApplicationIcon());
    setFixedSize(545, 523);
    CreateControls();
    ConnectHandlers();
    // Centred on the screen on X11; a Wayland client cannot place its windows, so there the
    // compositor chooses (the move is ignored).
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

std::string TfrmMain::GameFolder() const {
    return Text(stxDestFolder->text());
}

bool TfrmMain::RunHandler(const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const std::exception& error) {
        if (services_.messages)
            services_.messages->ApplicationError(error.what());
        return false;
    }
}

void TfrmMain::SetRadioChecked(QRadioButton* button, bool checked) {
    if (checked || !button->isChecked()) {
        button->setChecked(checked);
        return;
    }
    // An auto-exclusive button cannot be cleared directly; clearing runs no reaction anyway.
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(exclusive);
}

void TfrmMain::ConnectHandlers() {
    connect(btnExit, &QPushButton::clicked, this, [this] { btnExitClick(); });
    connect(btnReadMe, &QPushButton::clicked, this, [this] { btnReadMeClick(); });
    connect(btnAbout, &QPushButton::clicked, this, [this] { btnAboutClick(); });
    connect(btnLanguage, &QPushButton::clicked, this, [this] { btnLanguageClick(); });
    connect(btnReset, &QPushButton::clicked, this, [this] { btnResetClick(); });
    ConnectDiscoveryHandlers();
    ConnectDemoHandlers();
    ConnectLaunchHandlers();
}

void TfrmMain::FormCreate() {
    RunHandler([this] {
        if (services_.fileTypes)
            services_.fileTypes->RegisterXpdFileType();
    });
}

void TfrmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_)
        FormShow();
}

void TfrmMain::FormShow() {
    shown_ = true;
    const bool completed = RunHandler([this] {
        DiscoverGame();
        LoadOptions(SettingsFile(), true);
    });
    if (!completed) {
        // An error stops the rest of the sequence, the package road included: nothing is
        // unpacked or started, and the window waits for the user as after a normal start.
        if (startedWithPackage_) {
            startedWithPackage_ = false;
            show();
        }
        return;
    }
    OpenPackageFromCommandLine();
}

void TfrmMain::btnExitClick() {
    RunHandler([this] {
        // An installed copy's per-user folder is made by the first save.
        MakeSettingsFolder(places_);
        SaveOptions(SettingsFile(), true);
        close();
    });
}

void TfrmMain::btnReadMeClick() {
    const std::string readme = places_.utilityFolder + "\\readme.txt";
    // A FIFO or device under the name would hold up whatever opens it; a missing file is left
    // to the desktop to report.
    if (services_.starter && (IsRegularFile(NativePath(readme)) || !FileExists(readme)))
        services_.starter->Open(readme);
}

void TfrmMain::btnAboutClick() {
    if (frmAbout)
        frmAbout->exec();
}

void TfrmMain::btnLanguageClick() {
    RunHandler([this] {
        if (!frmLanguage)
            return;
        frmLanguage->exec();
        ApplyLanguage(frmLanguage->Language);
    });
}
