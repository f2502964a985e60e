#include "ControlHold.h"

#include "Form1.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QRadioButton>
#include <QSlider>

#include <vector>

namespace ControlHold {

namespace {

std::vector<QPointer<QWidget>>& Held() {
    static std::vector<QPointer<QWidget>> widgets;
    return widgets;
}

bool holding = false;

void HoldOne(QWidget* widget) {
    if (!widget->isEnabled())
        return;
    widget->setEnabled(false);
    Held().emplace_back(widget);
}

// The window's own controls of one kind; dialogs the window owns are left alone.
template <class Kind> void HoldEach(TForm1& form) {
    for (Kind* widget : form.findChildren<Kind*>())
        if (widget->window() == &form)
            HoldOne(widget);
}

} // namespace

void Hold(TForm1& form) {
    holding = true;
    for (const QPointer<QObject>& component : form.Components.Items()) {
        if (auto* edit = qobject_cast<TSpinExtEdit*>(component.data())) {
            edit->UpdateText(); // typed text is dropped, not committed
            HoldOne(edit);
        } else if (auto* display = qobject_cast<TExtText*>(component.data())) {
            HoldOne(display);
        }
    }
    HoldEach<QComboBox>(form);
    HoldEach<QRadioButton>(form);
    HoldEach<QCheckBox>(form);
    HoldEach<QSlider>(form);
}

void Release() {
    for (const QPointer<QWidget>& widget : Held())
        if (widget)
            widget->setEnabled(true);
    Forget();
}

void Forget() {
    Held().clear();
    holding = false;
}

bool Holding() {
    return holding;
}

} // namespace ControlHold
