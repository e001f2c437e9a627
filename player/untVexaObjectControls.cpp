#include "player/untVexaObjectControls.h"

#include "player/PlayerBitmaps.h"
#include "player/untVexaSlider.h"

#include <QIcon>
#include <QLabel>
#include <QToolButton>

std::function<void(std::string_view part)> TVexaObjectControls::creationCheck;

namespace {

const QColor kBtnFace(212, 208, 200);

struct ButtonDesign {
    int left;
    const char* hint;
    const char* bitmap;
    const char* failure;
};
const ButtonDesign kButtons[kBarButtonCount] = {
    {13, "Play", "BTNPLAY", "Fatal Error: Play button could not be created"},
    {37, "Pause", "BTNPAUSE", "Fatal Error: Pause button could not be created"},
    {61, "Stop", "BTNSTOP", "Fatal Error: Stop button could not be created"},
    {85, "Rewind", "BTNREW", "Fatal Error: Rewind button could not be created"},
    {109, "Fast Forward", "BTNFFWD", "Fatal Error: Fast Forward button could not be created"},
};

// Makes one part of the bar; any failure becomes the part's own message.
template <typename Make> auto CreatePart(std::string_view message, Make make) -> decltype(make()) {
    try {
        if (TVexaObjectControls::creationCheck)
            TVexaObjectControls::creationCheck(message);
        return make();
    } catch (const std::exception&) {
        throw VexaError(std::string(message));
    }
}

QFont SmallFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(7);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const QRect& place, const char* text, const char* hint,
                  Qt::Alignment align) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setGeometry(place);
    label->setFont(SmallFont());
    label->setTextFormat(Qt::PlainText); // a status may quote a file name or the media's error
    label->setAlignment(align | Qt::AlignVCenter);
    label->setToolTip(QString::fromLatin1(hint));
    label->setAccessibleName(QString::fromLatin1(hint));
    return label;
}

QLabel* MakeImage(QWidget* parent, const QPoint& at, const char* bitmap) {
    auto* image = new QLabel(parent);
    image->setGeometry(QRect(at, QSize(12, 12)));
    image->setPixmap(PlayerBitmap(bitmap));
    image->setAttribute(Qt::WA_TranslucentBackground);
    return image;
}

} // namespace

TVexaPanel::TVexaPanel(QWidget* parent) : TVexaCustomControl(parent) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, Qt::white);
    setPalette(p);
}

TVexaObjectControls::TVexaObjectControls(QWidget* parent) : TVexaCustomControl(parent) {
    // Clicks on the bar stay in the bar: they must not reach the object (a click on the movie
    // closes the movie window).
    setAttribute(Qt::WA_NoMousePropagation);
    SetColor(kBtnFace);
    setFixedHeight(kHeight);
    setMinimumWidth(kMinimumWidth);
    resize(kMinimumWidth, kHeight);
    CreateParts();
    LayoutParts();
    RefreshControls();
}

TVexaObjectControls::~TVexaObjectControls() {
    QObject::disconnect(objectDestroyed_);
    if (auto* dynamic = dynamic_cast<TVexaCustomDynamicObj*>(object_)) {
        dynamic->OnTimer = nullptr;
        dynamic->OnDurationRecomputeBegins = nullptr;
        dynamic->OnDurationRecomputeEnds = nullptr;
    }
}

std::string TVexaObjectControls::Description() const {
    return "This component is the main controller for all Vexa Objects. "
           "It can assign any Vexa Object, Visual or NonVisual, as well "
           "as any Dynamic, Static or Specific object types.";
}

void TVexaObjectControls::CreateParts() {
    // Rows, stacked from the top.
    rowButtons_ = CreatePart("Fatal Error: Buttons parent control could not be created",
                             [this] { return new TVexaPanel(this); });
    imgMovie_ = CreatePart("Fatal Error: Image control could not be created", [this] {
        return MakeImage(rowButtons_, {5, 7}, "imgMovie");
    });
    lblStatus_ = CreatePart("Fatal Error: Status control could not be created", [this] {
        return MakeLabel(rowButtons_, {20, 7, 100, 11}, "Status", "Object Status", Qt::AlignLeft);
    });
    pnlButtons_ = CreatePart("Fatal Error: Buttons control could not be created",
                             [this] { return new TVexaPanel(rowButtons_); });
    for (int i = 0; i < kBarButtonCount; ++i) {
        const ButtonDesign& design = kButtons[i];
        buttons_[i] = CreatePart(design.failure, [this, &design, i] {
            auto* button = new QToolButton(pnlButtons_);
            button->setObjectName(QString::fromLatin1(design.hint));
            button->setGeometry(design.left, 4, 23, 17);
            button->setAutoRaise(true);
            const QPixmap glyphs = PlayerBitmap(design.bitmap);
            QIcon icon;
            icon.addPixmap(glyphs.copy(0, 0, 16, 9), QIcon::Normal);
            icon.addPixmap(glyphs.copy(16, 0, 16, 9), QIcon::Disabled);
            button->setIcon(icon);
            button->setIconSize(QSize(16, 9));
            button->setCursor(HandCursor());
            button->setToolTip(QString::fromLatin1(design.hint));
            button->setAccessibleName(QString::fromLatin1(design.hint));
            QObject::connect(button, &QToolButton::clicked, this,
                             [this, i] { ButtonClick(static_cast<BarButton>(i)); });
            return button;
        });
    }

    rowTime_ = CreatePart("Fatal Error: Position parent control could not be created",
                          [this] { return new TVexaPanel(this); });
    imgTime_ = CreatePart("Fatal Error: Image time control could not be created", [this] {
        return MakeImage(rowTime_, {5, 3}, "imgTime");
    });
    lblDuration_ = CreatePart("Fatal Error: Duration control could not be created", [this] {
        return MakeLabel(rowTime_, {20, 4, 100, 11}, "0", "Duration", Qt::AlignLeft);
    });
    pnlPosition_ = CreatePart("Fatal Error: Position parent control could not be created",
                              [this] { return new TVexaPanel(rowTime_); });
    lblPosition_ = CreatePart("Fatal Error: Position control could not be created", [this] {
        return MakeLabel(pnlPosition_, {8, 4, 89, 11}, "0:00:00", "Current Position",
                         Qt::AlignRight);
    });

    rowSlider_ = CreatePart("Fatal Error: Slider parent control could not be created",
                            [this] { return new TVexaPanel(this); });
    slider_ = CreatePart("Fatal Error: Slider control could not be created", [this] {
        auto* slider = new TVexaSlider(rowSlider_);
        slider->SetIncrement(1);
        slider->SetMaxValue(1);
        slider->SetMinValue(0);
        slider->SetEdgeSize(2);
        slider->SetNumThumbStates(2);
        slider->SetOptions(soSmooth);
        slider->setToolTip(QStringLiteral("Position Slider"));
        slider->setAccessibleName(QStringLiteral("Position Slider"));
        slider->OnChange = [this](TVexaSlider*) { SliderChanged(); };
        return slider;
    });
}

void TVexaObjectControls::resizeEvent(QResizeEvent* event) {
    TVexaCustomControl::resizeEvent(event);
    LayoutParts();
}

void TVexaObjectControls::LayoutParts() {
    const int w = width();
    rowButtons_->setGeometry(0, 0, w, 22);
    rowTime_->setGeometry(0, 22, w, 18);
    rowSlider_->setGeometry(0, 40, w, 19);
    pnlButtons_->setGeometry(w - 137, 0, 137, 22);
    pnlPosition_->setGeometry(w - 102, 0, 102, 18);
    lblStatus_->resize(std::max(w - 137 - 20, 0), 11);
    lblDuration_->resize(std::max(w - 102 - 20, 0), 11);
    slider_->setGeometry(0, 0, w, 19);
}

bool TVexaObjectControls::TimeBased() const {
    return dynamic_cast<TVexaCustomDynamicObj*>(object_) != nullptr;
}

void TVexaObjectControls::SetVexaObject(TVexaMainObj* object) {
    QObject::disconnect(objectDestroyed_);
    object_ = object;
    if (!object)
        return;
    objectDestroyed_ =
        QObject::connect(object, &QObject::destroyed, this, [this] { ObjectRemoved(); });
    if (auto* dynamic = dynamic_cast<TVexaCustomDynamicObj*>(object)) {
        dynamic->OnTimer = [this](TVexaMainObj*) { SyncFromObject(); };
        dynamic->OnDurationRecomputeBegins = [this] { suspended_ = true; };
        dynamic->OnDurationRecomputeEnds = [this] { suspended_ = false; };
    } else {
        SetButtonsEnabled(false);
        ClearObjectDisplay();
    }
    SetEnableSlider(TimeBased());
}

void TVexaObjectControls::ClearObjectDisplay() {
    lblDuration_->clear();
    lblPosition_->clear();
}

void TVexaObjectControls::ObjectRemoved() {
    object_ = nullptr;
    objectDestroyed_ = {};
    for (int i = 0; i < kBarButtonCount; ++i) {
        enable_[i] = false;
        buttons_[i]->setEnabled(false);
    }
    enableSlider_ = false;
    slider_->setEnabled(false);
    ClearObjectDisplay();
}

void TVexaObjectControls::SetObjectDuration(int value) {
    duration_ = value;
    RefreshControls();
}

void TVexaObjectControls::SetObjectPosition(int value) {
    position_ = value;
    if (OnPositionChange)
        OnPositionChange(this);
    RefreshControls();
}

void TVexaObjectControls::SetObjectStatus(TObjectState status) {
    status_ = status;
    RefreshControls();
}

void TVexaObjectControls::SetObjectFormat(TObjectFormat format) {
    format_ = format;
    RefreshControls();
}

void TVexaObjectControls::SetShowButton(BarButton button, bool show) {
    if (show_[button] == show)
        return;
    show_[button] = show;
    RefreshControls();
}

void TVexaObjectControls::SetEnableButton(BarButton button, bool enable) {
    if (enable_[button] == enable)
        return;
    enable_[button] = enable;
    RefreshControls();
}

void TVexaObjectControls::SetShowSlider(bool show) {
    if (showSlider_ == show)
        return;
    showSlider_ = show;
    RefreshControls();
}

void TVexaObjectControls::SetEnableSlider(bool enable) {
    if (enableSlider_ == enable)
        return;
    enableSlider_ = enable;
    RefreshControls();
}

void TVexaObjectControls::SetButtonsEnabled(bool enable) {
    enable_.fill(enable);
    for (QToolButton* button : buttons_)
        button->setEnabled(enable);
}

void TVexaObjectControls::SetButtonsVisible(bool visible) {
    show_.fill(visible);
    for (QToolButton* button : buttons_)
        button->setVisible(visible);
}

void TVexaObjectControls::SyncFromObject() {
    if (!object_)
        return;
    SetEnableSlider(TimeBased());
    if (auto* dynamic = dynamic_cast<TVexaCustomDynamicObj*>(object_)) {
        if (suspended_)
            return;
        if (sliderMoved_) {
            dynamic->SeekInProgress = true;
            dynamic->SeekTo(slider_->Value());
            sliderMoved_ = false;
            return;
        }
        SetObjectDuration(dynamic->Duration());
        SetObjectPosition(dynamic->Position());
        SetObjectFormat(dynamic->ObjectFormat());
    }
    SetObjectStatus(object_->ObjectStatus());
}

void TVexaObjectControls::SliderChanged() {
    // The bar's own refresh moves the slider too; only the user's moves ask for a seek.
    if (!refreshing_) {
        auto* dynamic = dynamic_cast<TVexaCustomDynamicObj*>(object_);
        sliderMoved_ = dynamic ? dynamic->Position() != slider_->Value() : true;
    }
    if (OnSliderChange)
        OnSliderChange(this);
}

void TVexaObjectControls::RefreshControls() {
    std::string status;
    if (dynamic_cast<TVexaCustomStaticObj*>(object_) ||
        dynamic_cast<TVexaCustomSpecificObj*>(object_))
        status = object_->FileFound() ? "Showing" : "";
    else
        status = StatusText(status_);
    if (const auto states = ButtonStatesFor(status))
        enable_ = *states;

    lblStatus_->setText(QString::fromStdString(status));
    const QColor face = Color();
    for (TVexaPanel* panel : {rowButtons_, rowTime_, rowSlider_, pnlButtons_, pnlPosition_})
        panel->SetColor(face);
    for (QLabel* label : {lblStatus_, lblDuration_, lblPosition_}) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(p);
    }
    lblDuration_->setText(QString::fromStdString(TimeText(ObjectDuration(), format_)));
    lblPosition_->setText(QString::fromStdString(TimeText(ObjectPosition(), format_)));

    for (int i = 0; i < kBarButtonCount; ++i) {
        buttons_[i]->setEnabled(enable_[i]);
        buttons_[i]->setVisible(show_[i]);
    }
    slider_->setEnabled(enableSlider_);
    slider_->setVisible(showSlider_);
    refreshing_ = true;
    slider_->SetValue(ObjectPosition());
    slider_->SetMaxValue(ObjectDuration());
    slider_->SetMinValue(0);
    refreshing_ = false;

    setFixedHeight(kHeight);
    setMinimumWidth(kMinimumWidth);
}

void TVexaObjectControls::ButtonClick(BarButton button) {
    if (OnButtonClick[button])
        OnButtonClick[button](this);
    auto setEnabled = [this](BarButton b, bool on) {
        enable_[b] = on;
        buttons_[b]->setEnabled(on);
    };
    switch (button) {
    case bbPlay:
        setEnabled(bbPlay, false);
        break;
    case bbPause:
        setEnabled(bbPause, false);
        setEnabled(bbStop, false);
        setEnabled(bbPlay, true);
        break;
    case bbStop:
        setEnabled(bbPlay, true);
        setEnabled(bbPause, false);
        setEnabled(bbStop, false);
        break;
    case bbRewind:
    case bbFastForward:
        break;
    }
    auto* dynamic = dynamic_cast<TVexaCustomDynamicObj*>(object_);
    if (!dynamic)
        return;
    RunGuarded([dynamic, button] {
        switch (button) {
        case bbPlay:
            dynamic->Play();
            break;
        case bbPause:
            dynamic->Pause();
            break;
        case bbStop:
            dynamic->Stop();
            break;
        case bbRewind:
            dynamic->Rewind();
            break;
        case bbFastForward:
            dynamic->FastForward();
            break;
        }
    });
}
