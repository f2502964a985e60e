#include "QtOnce.h"

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>

void EnsureApplication(bool widgets) {
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends (see the header).
    if (widgets)
        new QApplication(argc, argv);
    else
        new QCoreApplication(argc, argv);
}

QWidget& OwnerWindow() {
    static QWidget* window = new QWidget; // lives until the process ends (see the header)
    return *window;
}
