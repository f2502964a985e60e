#include "ServiceMenuScreen.h"

#include "Form1.h"
#include "ServiceMenu.h"
#include "Startup.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>

#include <cstdio>

bool SaveServiceMenu(TForm1& form, const QDir& dir) {
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

bool SaveServiceMenu(const QDir& dir) {
    TForm1 form;
    TForm1* const previous = Form1;
    Form1 = &form;
    InstallBehaviour(form);
    form.show();
    const bool saved = SaveServiceMenu(form, dir);
    Form1 = previous;
    return saved;
}
