#include "ServiceMenu.h"

#include "Form1.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {
const QString ServiceMenuName = QStringLiteral("ServiceMenu");
}

QMenu* ServiceMenuOf(TForm1& form) {
    if (auto* menu = form.MainMenu1->findChild<QMenu*>(ServiceMenuName, Qt::FindDirectChildrenOnly))
        return menu;
    auto* menu = new QMenu(QStringLiteral("Сервис"), form.MainMenu1);
    menu->setObjectName(ServiceMenuName);
    form.MainMenu1->insertMenu(form.N4->menuAction(), menu);
    return menu;
}

QMenu* ServiceMenuGroup(TForm1& form) {
    QMenu* menu = ServiceMenuOf(form);
    const QList<QAction*> actions = menu->actions();
    if (!actions.isEmpty() && !actions.back()->isSeparator())
        menu->addSeparator();
    return menu;
}
