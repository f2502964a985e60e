#include "MenuBarItemAccessible.h"

#include <QAccessible>
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

namespace {
// "&&" stands for one ampersand; a single one marks the mnemonic and is not read out.
QString WithoutMnemonicMark(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('&'))
                plain += text.at(++i);
            continue;
        }
        plain += text.at(i);
    }
    return plain;
}
} // namespace

MenuBarItemAccessible::MenuBarItemAccessible(QMenuBar* bar, QAction* action)
    : bar_(bar), action_(action) {}

QAccessibleInterface* MenuBarItemAccessible::For(QMenuBar* bar, QAction* action) {
    if (QAccessibleInterface* known = QAccessible::queryAccessibleInterface(action))
        return known;
    auto* item = new MenuBarItemAccessible(bar, action);
    QAccessible::registerAccessibleInterface(item);
    return item;
}

bool MenuBarItemAccessible::isValid() const {
    return bar_ && action_;
}

QObject* MenuBarItemAccessible::object() const {
    return action_;
}

QWindow* MenuBarItemAccessible::window() const {
    return bar_ ? bar_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* MenuBarItemAccessible::parent() const {
    return QAccessible::queryAccessibleInterface(bar_.data());
}

QAccessibleInterface* MenuBarItemAccessible::child(int index) const {
    QMenu* menu = action_ ? action_->menu() : nullptr;
    return index == 0 && menu ? QAccessible::queryAccessibleInterface(menu) : nullptr;
}

int MenuBarItemAccessible::childCount() const {
    return action_ && action_->menu() ? 1 : 0;
}

int MenuBarItemAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return child && action_ && action_->menu() && child->object() == action_->menu() ? 0 : -1;
}

QAccessibleInterface* MenuBarItemAccessible::childAt(int x, int y) const {
    QAccessibleInterface* menu = child(0);
    return menu && menu->rect().contains(x, y) ? menu : nullptr;
}

QString MenuBarItemAccessible::text(QAccessible::Text t) const {
    if (!action_)
        return {};
    switch (t) {
    case QAccessible::Name:
        return WithoutMnemonicMark(action_->text());
    case QAccessible::Accelerator: {
        const QKeySequence key = action_->shortcut().isEmpty()
                                     ? QKeySequence::mnemonic(action_->text())
                                     : action_->shortcut();
        return key.toString(QKeySequence::NativeText);
    }
    default:
        return {};
    }
}

QRect MenuBarItemAccessible::rect() const {
    if (!isValid())
        return {};
    return bar_->actionGeometry(action_).translated(bar_->mapToGlobal(QPoint(0, 0)));
}

QAccessible::Role MenuBarItemAccessible::role() const {
    return action_ && action_->isSeparator() ? QAccessible::Separator : QAccessible::MenuItem;
}

QAccessible::State MenuBarItemAccessible::state() const {
    QAccessible::State state;
    if (!isValid())
        return state;
    state.invisible = !bar_->isVisible() || !action_->isVisible();
    state.disabled = action_->isSeparator() || !action_->isEnabled();
    state.focused = bar_->activeAction() == action_;
    state.hasPopup = action_->menu() != nullptr;
    state.expanded = action_->menu() && action_->menu()->isVisible();
    state.checkable = action_->isCheckable();
    state.checked = action_->isChecked();
    return state;
}

void* MenuBarItemAccessible::interface_cast(QAccessible::InterfaceType type) {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                : nullptr;
}

QStringList MenuBarItemAccessible::actionNames() const {
    if (!action_ || action_->isSeparator())
        return {};
    return {action_->menu() ? showMenuAction() : pressAction()};
}

void MenuBarItemAccessible::doAction(const QString& actionName) {
    if (!isValid() || !action_->isEnabled())
        return;
    if (actionName == pressAction()) {
        action_->trigger();
    } else if (actionName == showMenuAction()) {
        QMenu* menu = action_->menu();
        if (menu && menu->isVisible())
            menu->hide();
        else
            bar_->setActiveAction(action_);
    }
}
