#include "LinkIndicator.h"

#include "MenuBarCorner.h"

#include <QMenuBar>

#include <algorithm>

namespace {
const QColor GoodColour(0, 128, 0);
const QColor LostColour(200, 0, 0);
const QColor OfflineColour(128, 128, 128);
} // namespace

LinkIndicator::LinkIndicator(QMenuBar* menuBar) : QLabel(menuBar) {
    setObjectName(QStringLiteral("LinkIndicator"));
    setContentsMargins(6, 0, 8, 0);
    // The menu bar places its corner widget by the size it had then: room for the longest text.
    int widest = 0;
    for (const QString& text :
         {QStringLiteral("Связь"), QStringLiteral("Нет связи"), QStringLiteral("Без прибора")})
        widest = std::max(widest, fontMetrics().horizontalAdvance(text));
    setMinimumWidth(widest + contentsMargins().left() + contentsMargins().right());
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Show(State::Off);
    MenuBarCorner::Add(menuBar, this);
}

void LinkIndicator::Show(State state) {
    state_ = state;
    // A style sheet, so that no palette the window or the application sets covers the colour.
    switch (state) {
    case State::Off:
        setText(QString());
        break;
    case State::Good:
        setText(QStringLiteral("Связь"));
        setStyleSheet(QStringLiteral("color: %1").arg(GoodColour.name()));
        break;
    case State::Lost:
        setText(QStringLiteral("Нет связи"));
        setStyleSheet(QStringLiteral("color: %1").arg(LostColour.name()));
        break;
    case State::Offline:
        setText(QStringLiteral("Без прибора"));
        setStyleSheet(QStringLiteral("color: %1").arg(OfflineColour.name()));
        break;
    }
    setAccessibleName(text()); // what a screen reader says is what the corner shows
}
