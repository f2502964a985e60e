#include "TSpinExtEdit.h"

#include "ExactClassVisit.h"
#include "PlacementFont.h"
#include "SpinButtonLayout.h"
#include "TSpinButton.h"

#include <QResizeEvent>

namespace {

constexpr int kDefaultHeight = 25;
// The spin button's coordinates are those of the field's client area, inside the frame.
constexpr QPoint kClientOrigin(1, 1);

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
    VisitExactClass<TSpinExtEdit>(owner, &TSpinExtEdit::Init);
}

void TSpinExtEdit::PassAll(const ComponentList& owner) {
    VisitExactClass<TSpinExtEdit>(owner, &TSpinExtEdit::Pass);
}

void TSpinExtEdit::resizeEvent(QResizeEvent* event) {
    TExtEdit::resizeEvent(event);
    if (spinButton_ != nullptr)
        PlaceSpinButton();
}

void TSpinExtEdit::PlaceSpinButton() {
    const SpinButtonLayout layout = SpinButtonPlacement(width(), height());
    spinButton_->Place(layout.button.translated(kClientOrigin), layout.up, layout.down);
    setTextMargins(0, 0, layout.button.width() + 2, 0);
}
