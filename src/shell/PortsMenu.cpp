#include "PortsMenu.h"

#include "ErrorHandler.h"
#include "Form1.h"
#include "Messages.h"
#include "PortAdvice.h"
#include "PortChoice.h"
#include "PortTrouble.h"
#include "PortsDialog.h"
#include "ServiceMenu.h"

#include <QAction>
#include <QMenu>

namespace {

void ShowPortsDialog(TForm1& form) {
    PortsDialog dialog(&PortList::SystemPorts, &form);
    dialog.exec();
}

} // namespace

void ShowPortAdvice() {
    const QString advice = PortAdvice::Text(PortTrouble::Noted());
    if (!advice.isEmpty())
        ShowInformation(advice);
}

void InstallPortsMenu(TForm1& form) {
    PortChoice::Install();
    QAction* ports = ServiceMenuOf(form)->addAction(QStringLiteral("Порты…"));
    ports->setObjectName(QStringLiteral("PortsAction"));
    QObject::connect(ports, &QAction::triggered, &form,
                     Guarded([&form] { ShowPortsDialog(form); }));
}
