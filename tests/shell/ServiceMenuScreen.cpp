#include "ServiceMenuScreen.h"

#include "Form1.h"
#include "SafetyNetMenu.h"
#include "ServiceMenu.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>

#include <cstdio>

bool SaveServiceMenu(TForm1& form, const QDir& dir) {
    if (!form.findChild<QAction*>(QStringLiteral("UndoAction")))
        InstallSafetyNet(form);
    QMenu* menu = ServiceMenuOf(form);
    const QRect title = form.MainMenu1->actionGeometry(menu->menuAction());
    const QPoint at = form.MainMenu1->mapTo(&form, title.bottomLeft());
    menu->popup(form.mapToGlobal(at));
    QPixmap picture = form.grab();
    {
        QPainter painter(&picture);
        painter.drawPixmap(at, menu->grab());
    }
    menu->hide();
    const QString path = dir.filePath(QStringLiteral("service_menu.png"));
    const bool saved = picture.save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}
