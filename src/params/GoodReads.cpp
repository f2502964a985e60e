#include "GoodReads.h"

#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace GoodReads {

namespace {
std::vector<QPointer<const QObject>>& Remembered() {
    static std::vector<QPointer<const QObject>> controls;
    return controls;
}
} // namespace

void Remember(const QObject* control) {
    if (!Had(control))
        Remembered().emplace_back(control);
}

bool Had(const QObject* control) {
    const auto& controls = Remembered();
    return std::any_of(controls.begin(), controls.end(),
                       [control](const QPointer<const QObject>& c) { return c == control; });
}

void ForgetAll() {
    Remembered().clear();
}

void AfterSpinRead(QObject* control, bool replied) {
    if (replied) {
        Remember(control);
        return;
    }
    if (auto* widget = qobject_cast<QWidget*>(control); widget && !Had(control))
        widget->setEnabled(false);
}

} // namespace GoodReads
