#include "MenuBarAccessible.h"

#include "MenuBarItemAccessible.h"

#include <QAccessibleWidget>
#include <QMenuBar>

namespace MenuBarAccessible {

namespace {

// The menus first, at the indexes Qt's menu bar names when it tells which menu has the focus;
// then the corners.
class MenuBarInterface : public QAccessibleWidget {
public:
    explicit MenuBarInterface(QMenuBar* bar) : QAccessibleWidget(bar, QAccessible::MenuBar) {}

    int childCount() const override { return int(Bar()->actions().size() + Corners().size()); }

    QAccessibleInterface* child(int index) const override {
        const QList<QAction*> actions = Bar()->actions();
        if (index < 0)
            return nullptr;
        if (index < actions.size())
            return MenuBarItemAccessible::For(Bar(), actions.at(index));
        const QList<QWidget*> corners = Corners();
        index -= int(actions.size());
        return index < corners.size() ? QAccessible::queryAccessibleInterface(corners.at(index))
                                      : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        QObject* object = child ? child->object() : nullptr;
        if (!object)
            return -1;
        const QList<QAction*> actions = Bar()->actions();
        if (auto* action = qobject_cast<QAction*>(object))
            return int(actions.indexOf(action));
        const qsizetype corner = Corners().indexOf(qobject_cast<QWidget*>(object));
        return corner < 0 ? -1 : int(actions.size() + corner);
    }

private:
    QMenuBar* Bar() const { return static_cast<QMenuBar*>(widget()); }

    QList<QWidget*> Corners() const {
        QList<QWidget*> corners;
        for (Qt::Corner corner : {Qt::TopLeftCorner, Qt::TopRightCorner})
            if (QWidget* widget = Bar()->cornerWidget(corner))
                corners << widget;
        return corners;
    }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    // Subclasses of QMenuBar reach here too, when the walk up their classes comes to it.
    if (className != QLatin1String("QMenuBar"))
        return nullptr;
    auto* bar = qobject_cast<QMenuBar*>(object);
    return bar ? new MenuBarInterface(bar) : nullptr;
}

} // namespace

void Install() {
    // Factories installed last are asked first: this one must follow Qt's own.
    QAccessible::removeFactory(&Factory);
    QAccessible::installFactory(&Factory);
}

} // namespace MenuBarAccessible
