#pragma once
// One menu of a menu bar as assistive technology reads it: its title without the mnemonic mark,
// its key, whether it is enabled and open, and the menu it shows when pressed.

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPointer>

class QAction;
class QMenuBar;

class MenuBarItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    MenuBarItemAccessible(QMenuBar* bar, QAction* action);

    // The interface the action already has (a menu that was read first may have made Qt's
    // own), or a new one of this kind, registered so that it goes with the action.
    static QAccessibleInterface* For(QMenuBar* bar, QAction* action);

    bool isValid() const override;
    QObject* object() const override;
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QMenuBar> bar_;
    QPointer<QAction> action_;
};
