#include "GoodReads.h"

#include <QWidget>

#include <algorithm>

void GoodReads::Remember(const QObject* control) {
    if (!Had(control))
        remembered_.emplace_back(control);
}

bool GoodReads::Had(const QObject* control) const {
    return std::any_of(remembered_.begin(), remembered_.end(),
                       [control](const QPointer<const QObject>& c) { return c == control; });
}

void GoodReads::ForgetAll() {
    remembered_.clear();
}

void GoodReads::AfterSpinRead(QObject* control, bool replied) {
    if (replied) {
        Remember(control);
        return;
    }
    if (auto* widget = qobject_cast<QWidget*>(control); widget && !Had(control))
        widget->setEnabled(false);
}
