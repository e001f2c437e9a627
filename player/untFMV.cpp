#include "player/untFMV.h"

#include "platform/QtAppWindow.h"
#include "platform/QtPauses.h"
#include "player/untVexaCustomWmpObj.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

#include <memory>

TfrmFMV::TfrmFMV(QWidget* owner, Pauses& pauses, const MediaControlFactory& mediaControls)
    : QDialog(owner) {
    setObjectName(QStringLiteral("frmFMV"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("frmFMV"));
    resize(738, 613);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(212, 208, 200)); // button face
    setPalette(p);
    setAutoFillBackground(true);

    VexaWMP = new TVexaCustomWmpObj(this, pauses, mediaControls);
    VexaWMP->setObjectName(QStringLiteral("VexaWMP"));
    VexaWMP->setGeometry(rect());
    VexaWMP->SetColor(Qt::black);
    VexaWMP->SetEnableWarnings(false);
    VexaWMP->SetParameters(kParameters);
    VexaWMP->ShowObject();
    VexaWMP->SetRunningMode(tmPlayMode);
    VexaWMP->SetObjectEnabled(false);
    VexaWMP->SetAutoPlay(false);
    VexaWMP->OnClick = [this](TVexaMainObj* sender) { VexaWMPClick(sender); };
    VexaWMP->OnFinished = [this](TVexaMainObj* sender, const std::string& code) {
        VexaWMPFinished(sender, code);
    };
    VexaWMP->OnError = [this](TVexaMainObj* sender) { VexaWMPError(sender); };
    // The pointer stays out of the picture: hidden over the window while it plays (on Wayland it
    // cannot be moved away).
    setCursor(Qt::BlankCursor);

    // The window sees keys before any of its children.
    qApp->installEventFilter(this);
}

TfrmFMV::~TfrmFMV() {
    qApp->removeEventFilter(this);
}

void TfrmFMV::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    VexaWMP->setGeometry(rect());
}

bool TfrmFMV::event(QEvent* event) {
    const bool result = QDialog::event(event);
    switch (event->type()) {
    case QEvent::Show:
        // A compositor may never activate the window: the movie starts once it is shown.
        if (!started_)
            QTimer::singleShot(0, this, [this] {
                if (!started_)
                    FormActivate();
            });
        break;
    case QEvent::WindowActivate:
        if (ActivationStartsMovie(started_, otherWindowWasActive_))
            FormActivate();
        otherWindowWasActive_ = false;
        break;
    case QEvent::WindowDeactivate:
        // The application's active window has already changed when this arrives.
        otherWindowWasActive_ =
            QApplication::activeWindow() != nullptr && QApplication::activeWindow() != this;
        break;
    default:
        break;
    }
    return result;
}

bool TfrmFMV::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        char character = 0;
        if (key->key() == Qt::Key_Escape)
            character = 27;
        else if (!key->text().isEmpty() && key->text().at(0).unicode() < 128)
            character = static_cast<char>(key->text().at(0).unicode());
        if (character == 27 || character == ' ') {
            FormKeyPress(character);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmFMV::FormActivate() {
    started_ = true;
    try {
        VexaWMP->LoadObject();
        VexaWMP->Play();
    } catch (const std::exception& error) {
        ReportComponentError(error.what());
    }
}

void TfrmFMV::FormKeyPress(char key) {
    if (key == 27 || key == ' ')
        close();
}

void TfrmFMV::VexaWMPFinished(TVexaMainObj*, const std::string&) {
    close();
}

void TfrmFMV::VexaWMPClick(TVexaMainObj*) {
    close();
}

void TfrmFMV::VexaWMPError(TVexaMainObj*) {
    // The error state waits for the user: the pointer shows again.
    unsetCursor();
    MediaControl* control = VexaWMP->Control();
    const std::string advice = control ? control->MissingPartsAdvice() : std::string();
    if (!advice.empty())
        ReportComponentError(advice);
}

bool ActivationStartsMovie(bool started, bool otherWindowWasActive) {
    return !started || otherWindowWasActive;
}

void MovieWindowOpen(const std::string& moviePath, bool showControls,
                     const MovieServices& services) {
    QtPauses eventLoopPauses;
    Pauses& pauses = services.pauses ? *services.pauses : eventLoopPauses;
    const MediaControlFactory factory =
        services.mediaControls ? services.mediaControls : GstMediaControlFactory();
    auto movePointer = services.movePointer ? services.movePointer : [](int x, int y) {
        if (!IsWaylandPlatform(QGuiApplication::platformName()))
            QCursor::setPos(x, y);
    };

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    movePointer(screen.width(), screen.height());

    auto window = std::make_unique<TfrmFMV>(QApplication::activeWindow(), pauses, factory);
    window->setGeometry(0, 0, screen.width(), screen.height());
    window->VexaWMP->SetShowControls(showControls);
    window->VexaWMP->SetFileName(moviePath);
    window->VexaWMP->SetAutoPlay(false);
    window->setWindowState(window->windowState() | Qt::WindowFullScreen);
    window->exec();
    window.reset();

    movePointer(screen.width() / 2, screen.height() / 2);
}
