#include "MapMenu.h"

#include "ControllerSession.h"
#include "DataLogMenu.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "MapWindow.h"
#include "ServiceMenu.h"
#include "WindowSession.h"

#include <QAction>
#include <QMenu>

MapWindow& MapOf(TForm1& form) {
    if (auto* window = form.findChild<MapWindow*>(QString(), Qt::FindDirectChildrenOnly))
        return *window;
    ControllerSession& session = SessionOf(form);
    auto* window = new MapWindow(Recording::Feed(form), session.Journal(), session.Events(), &form);
    window->SetConnected(session.Connected());
    QObject::connect(window, &MapWindow::failed, &form,
                     [](const QString& message) { RunHandler([&] { ShowError(message); }); });
    return *window;
}

std::optional<Sheets::Section> MapPage(QWidget* form) {
    const auto* window =
        form ? form->findChild<MapWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window || !window->HasSamples())
        return std::nullopt;
    return window->PaperSection();
}

void InstallMap(TForm1& form) {
    QAction* action = ServiceMenuOf(form)->addAction(QStringLiteral("Карта коррекции…"));
    action->setObjectName(QStringLiteral("MapAction"));
    QObject::connect(action, &QAction::triggered, &form, Guarded([&form] {
                         MapWindow& window = MapOf(form);
                         window.show();
                         window.raise();
                         window.activateWindow();
                     }));
}
