#include "LinkIndicator.h"

#include <QMenuBar>

namespace {
const QColor GoodColour(0, 128, 0);
const QColor LostColour(200, 0, 0);
} // namespace

LinkIndicator::LinkIndicator(QMenuBar* menuBar) : QLabel(menuBar) {
    setObjectName(QStringLiteral("LinkIndicator"));
    setContentsMargins(6, 0, 8, 0);
    menuBar->setCornerWidget(this, Qt::TopRightCorner);
    Show(State::Off);
}

void LinkIndicator::Show(State state) {
    state_ = state;
    QPalette colours = palette();
    switch (state) {
    case State::Off:
        setText(QString());
        break;
    case State::Good:
        setText(QStringLiteral("Связь"));
        colours.setColor(QPalette::WindowText, GoodColour);
        break;
    case State::Lost:
        setText(QStringLiteral("Нет связи"));
        colours.setColor(QPalette::WindowText, LostColour);
        break;
    }
    setPalette(colours);
}
