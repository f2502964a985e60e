#include "MenuBarCorner.h"

#include "MenuBarAccessible.h"

#include <QHBoxLayout>
#include <QMenuBar>

namespace MenuBarCorner {

namespace {
const QString CornerName = QStringLiteral("MenuBarCorner");

QWidget* CornerOf(QMenuBar* menuBar) {
    if (auto* corner = qobject_cast<QWidget*>(menuBar->cornerWidget(Qt::TopRightCorner));
        corner && corner->objectName() == CornerName)
        return corner;
    // Early enough: a bar's interface is made when it is first read, once its window shows.
    MenuBarAccessible::Install();
    auto* corner = new QWidget(menuBar);
    corner->setObjectName(CornerName);
    auto* row = new QHBoxLayout(corner);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    menuBar->setCornerWidget(corner, Qt::TopRightCorner);
    return corner;
}
} // namespace

void Add(QMenuBar* menuBar, QWidget* widget) {
    QWidget* corner = CornerOf(menuBar);
    static_cast<QHBoxLayout*>(corner->layout())->insertWidget(0, widget);
    widget->show();
    Refresh(menuBar);
}

void Refresh(QMenuBar* menuBar) {
    QWidget* corner = CornerOf(menuBar);
    corner->adjustSize();
    // Setting the corner again makes the menu bar take its new size.
    menuBar->setCornerWidget(corner, Qt::TopRightCorner);
    corner->show(); // a corner widget set on a menu bar already on screen stays hidden otherwise
}

} // namespace MenuBarCorner
