#include "LineMenu.h"

#include "Connection.h"
#include "ConnectionEvents.h"
#include "ControllerSession.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "LineWindow.h"
#include "PortNames.h"
#include "ProductionLog.h"
#include "ServiceMenu.h"
#include "ToolData.h"
#include "WindowSession.h"

#include <QAction>
#include <QMenu>

namespace {

void OpenLineWindow(TForm1& form) {
    if (auto* open = form.findChild<LineWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
        open->activateWindow();
        return;
    }
    QStringList comPorts;
    for (int port = 1; port <= PortNames::PortCount; ++port)
        comPorts << PortNames::DeviceFor(port);
    LineWindow::Place place{ToolData::Folder(),
                            ProductionLog::Path(),
                            &ToolData::Preferences,
                            &PortList::SystemPorts,
                            comPorts,
                            &RunHandler};
    auto* window = new LineWindow(std::move(place), &form);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // The main window's connection waits while the line holds the ports.
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
}

} // namespace

void InstallLineMenu(TForm1& form) {
    QAction* action = ServiceMenuGroup(form)->addAction(QStringLiteral("Производственная линия…"));
    action->setObjectName(QStringLiteral("LineAction"));
    QObject::connect(action, &QAction::triggered, &form,
                     Guarded([&form] { OpenLineWindow(form); }));
    auto follow = [action] { action->setEnabled(!DeviceConnected()); };
    ConnectionEvents& events = SessionOf(form).Events();
    QObject::connect(&events, &ConnectionEvents::connected, action, follow);
    QObject::connect(&events, &ConnectionEvents::closed, action, follow);
    follow();
}
