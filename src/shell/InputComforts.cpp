#include "InputComforts.h"

#include "ControlTips.h"
#include "ControllerSession.h"
#include "Form1.h"
#include "TSpinButton.h"
#include "TSpinExtEdit.h"
#include "WindowSession.h"

#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

namespace {

// Whether the write running now goes on with a key or an arrow held down: an auto-repeated key
// press of a spin edit, or a repeat of an arrow pressed with the mouse.
class HeldGesture : public QObject {
public:
    explicit HeldGesture(TForm1& form) : QObject(&form) {
        for (TSpinButton* button : form.findChildren<TSpinButton*>())
            buttons_ << button;
    }

    bool Continues() const {
        if (keyRepeat_)
            return true;
        for (const QPointer<TSpinButton>& button : buttons_)
            if (button && button->ContinuesGesture())
                return true;
        return false;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
            // The press is handled, and its writes made, before the event loop runs again.
            keyRepeat_ = true;
            QTimer::singleShot(0, this, [this] { keyRepeat_ = false; });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QList<QPointer<TSpinButton>> buttons_;
    bool keyRepeat_ = false;
};

} // namespace

void InstallInputComforts(TForm1& form) {
    ControlTips::Install(form);
    auto* held = new HeldGesture(form);
    for (TSpinExtEdit* spin : form.findChildren<TSpinExtEdit*>()) {
        spin->SetKeySteps(true);
        spin->installEventFilter(held);
    }
    SessionOf(form).Net().SetGestureContinues(
        [held = QPointer<HeldGesture>(held)] { return held && held->Continues(); });
}
