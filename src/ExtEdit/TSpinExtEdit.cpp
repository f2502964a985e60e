#include "TSpinExtEdit.h"

#include "ExactClassVisit.h"
#include "PlacementFont.h"
#include "SpinButtonLayout.h"
#include "TSpinButton.h"

#include <QKeyEvent>
#include <QPointer>
#include <QResizeEvent>

namespace {

constexpr int kDefaultHeight = 25;
// The spin button's coordinates are those of the field's client area, inside the frame.
constexpr QPoint kClientOrigin(1, 1);
constexpr int kPageSteps = 10;

struct KeyStep {
    TSpinButton::Half half = TSpinButton::Half::None;
    int clicks = 0;
};

KeyStep KeyStepOf(const QKeyEvent& event) {
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return {};
    switch (event.key()) {
    case Qt::Key_Up:
        return {TSpinButton::Half::Up, 1};
    case Qt::Key_Down:
        return {TSpinButton::Half::Down, 1};
    case Qt::Key_PageUp:
        return {TSpinButton::Half::Up, kPageSteps};
    case Qt::Key_PageDown:
        return {TSpinButton::Half::Down, kPageSteps};
    default:
        return {};
    }
}

} // namespace

TSpinExtEdit::TSpinExtEdit(QWidget* parent) : TExtEdit(parent) {
    valueStep_ = 0.1L;
    PlacementFont::Apply(*this);
    spinButton_ = new TSpinButton(this);
    spinButton_->SetFocusControl(this);
    PlaceSpinButton();
    spinButton_->show();
    spinButton_->raise();
    connect(spinButton_, &TSpinButton::UpClick, this, &TSpinExtEdit::StepUp);
    connect(spinButton_, &TSpinButton::DownClick, this, &TSpinExtEdit::StepDown);
    SetBounds(x(), y(), width(), kDefaultHeight);
}

TSpinExtEdit::~TSpinExtEdit() = default;

void TSpinExtEdit::StepUp() {
    if (isModified())
        ApplyText();
    SetValue(Value() + valueStep_);
    update();
}

void TSpinExtEdit::StepDown() {
    if (isModified())
        ApplyText();
    SetValue(Value() - valueStep_);
    update();
}

void TSpinExtEdit::SetBounds(int left, int top, int width, int height) {
    TExtEdit::SetBounds(left, top, width, height);
    if (spinButton_ != nullptr) {
        PlaceSpinButton();
        update();
    }
}

void TSpinExtEdit::InitAll(const ComponentList& owner) {
    VisitExactClass<TSpinExtEdit>(owner, [](TSpinExtEdit& edit) { edit.Init(); });
}

void TSpinExtEdit::InitAll(const ComponentList& owner, const ShowLater& later) {
    VisitExactClass<TSpinExtEdit>(owner, [&later](TSpinExtEdit& edit) { edit.Init(later); });
}

void TSpinExtEdit::PassAll(const ComponentList& owner) {
    VisitExactClass<TSpinExtEdit>(owner, &TSpinExtEdit::Pass);
}

void TSpinExtEdit::resizeEvent(QResizeEvent* event) {
    TExtEdit::resizeEvent(event);
    if (spinButton_ != nullptr)
        PlaceSpinButton();
}

void TSpinExtEdit::keyPressEvent(QKeyEvent* event) {
    const KeyStep step = keySteps_ ? KeyStepOf(*event) : KeyStep{};
    if (step.clicks == 0 || !isEnabled()) {
        TExtEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    // Each step goes the way of an arrow click, with its own report and write.
    QPointer<TSpinExtEdit> self(this);
    for (int i = 0; i < step.clicks && self && isEnabled(); ++i)
        spinButton_->ClickHalf(step.half);
}

void TSpinExtEdit::PlaceSpinButton() {
    const SpinButtonLayout layout = SpinButtonPlacement(width(), height());
    spinButton_->Place(layout.button.translated(kClientOrigin), layout.up, layout.down);
    setTextMargins(0, 0, layout.button.width() + 2, 0);
}
