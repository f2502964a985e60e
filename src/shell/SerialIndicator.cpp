#include "SerialIndicator.h"

#include "ConnectionEvents.h"
#include "ControllerSession.h"
#include "MenuBarCorner.h"

#include <QMenuBar>

SerialIndicator::SerialIndicator(QMenuBar* menuBar, ControllerSession& session)
    : QLabel(menuBar), menuBar_(menuBar), session_(session) {
    setObjectName(QStringLiteral("SerialIndicator"));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setStyleSheet(QStringLiteral("color: #c80000"));
    ConnectionEvents& events = session.Events();
    for (auto event : {&ConnectionEvents::connecting, &ConnectionEvents::connected,
                       &ConnectionEvents::closed, &ConnectionEvents::identityRead})
        connect(&events, event, this, &SerialIndicator::Update);
    setFixedWidth(0); // room only while it says something: the menus keep the bar otherwise
    MenuBarCorner::Add(menuBar, this);
}

QString SerialIndicator::UnreadText() {
    return QStringLiteral("серийный номер не прочитан");
}

void SerialIndicator::Update() {
    const bool unread = session_.Connected() && !session_.Identity().serialRead;
    if (unread == !text().isEmpty())
        return;
    setText(unread ? UnreadText() : QString());
    setAccessibleName(text()); // what a screen reader says is what the corner shows
    constexpr int Margin = 6;
    setContentsMargins(Margin, 0, Margin, 0);
    setFixedWidth(unread ? fontMetrics().horizontalAdvance(text()) + 2 * Margin : 0);
    MenuBarCorner::Refresh(menuBar_);
}
