#include "IdentityGesture.h"

#include "DeviceIdentity.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "Offline.h"
#include "Ser_num.h"
#include "SerialIndicator.h"
#include "WindowSession.h"

#include <QLabel>
#include <QMouseEvent>

bool IsFactoryGesture(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    constexpr Qt::KeyboardModifiers held =
        Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    return (modifiers & held) == held && buttons.testFlag(Qt::RightButton);
}

void StaticText1MouseDown(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    // A file edited without a controller has no controller to number.
    if (Form2 && IsFactoryGesture(buttons, modifiers) && !OfflineSession())
        Form2->exec();
}

StaticText1Watcher::StaticText1Watcher(QLabel* field, QObject* owner)
    : QObject(owner), field_(field) {
    field_->installEventFilter(this);
}

bool StaticText1Watcher::eventFilter(QObject* watched, QEvent* event) {
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    // Filters see events before the widget drops them for being disabled.
    if (watched == field_ && press && field_->isEnabled()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        RunHandler([mouse] { StaticText1MouseDown(mouse->buttons(), mouse->modifiers()); });
    }
    return QObject::eventFilter(watched, event);
}

void InstallIdentity(TForm1& form) {
    new StaticText1Watcher(form.StaticText1, &form);      // owned by the window
    new SerialIndicator(form.MainMenu1, SessionOf(form)); // owned by the menu bar
}
