#include "Offline.h"

#include "Captions.h"
#include "Connection.h"
#include "ConnectionEvents.h"
#include "ErrorHandler.h"
#include "FileFun.h"
#include "Form1.h"
#include "Messages.h"
#include "OfflineController.h"
#include "PortOverride.h"
#include "ServiceMenu.h"
#include "SettingsCheck.h"
#include "SettingsFile.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>

#include <memory>
#include <stdexcept>

namespace {

// The stand-in controller of the open session. It goes with the window at the latest.
class Session : public QObject {
public:
    explicit Session(QObject* parent) : QObject(parent) {}
    ~Session() override { End(); }

    void Begin(const OfflineController::Block& block) {
        controller_ = std::make_unique<OfflineController>(block);
        PortOverride::Set(QString::fromStdString(controller_->device()));
    }
    void End() {
        if (!controller_)
            return;
        PortOverride::Clear();
        controller_.reset();
    }
    bool IsOpen() const { return controller_ != nullptr; }

private:
    std::unique_ptr<OfflineController> controller_;
};

QPointer<Session> session;
QPointer<QAction> openAction;

// A file in the sense of the load's checks: anything there that is not a directory.
bool FileExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

void OpenOfflineClick() {
    const QString path = ChooseSettingsPath(Form1->OpenDialog1);
    if (!path.isEmpty())
        OpenFileOffline(path);
}

void OnClosed() {
    if (session)
        session->End();
    if (openAction)
        openAction->setEnabled(true);
}

} // namespace

bool OfflineSession() {
    return session && session->IsOpen();
}

void OpenFileOffline(const QString& path) {
    if (!session || session->IsOpen() || DeviceConnected())
        return;
    if (!FileExists(path)) {
        ShowInformation(QStringLiteral("Такого файла нет!"));
        return;
    }
    const QByteArray bytes = SettingsFile::ReadForLoad(path);
    if (SettingsCheck::Examine(bytes).foreign)
        throw std::runtime_error(SettingsCheck::ForeignFileText().toStdString());
    session->Begin(SettingsRecords::Parse(bytes));
    // A scan that does not end connected leaves no stand-in behind, thrown or not.
    const struct EndUnlessConnected {
        ~EndUnlessConnected() {
            if (!DeviceConnected() && session)
                session->End();
        }
    } endUnlessConnected;
    Connect_to_COM1Click();
    if (DeviceConnected())
        Form1->setWindowTitle(OfflineCaption(path));
}

void InstallOffline(TForm1& form) {
    session = new Session(&form);
    openAction = ServiceMenuGroup(form)->addAction(QStringLiteral("Открыть файл без прибора…"));
    openAction->setObjectName(QStringLiteral("OpenOffline"));
    openAction->setEnabled(!DeviceConnected());
    QObject::connect(openAction, &QAction::triggered, &form, Guarded(&OpenOfflineClick));
    ConnectionEvents& events = ConnectionEvents::Instance();
    QObject::connect(&events, &ConnectionEvents::connected, &form, Guarded([] {
        if (openAction)
            openAction->setEnabled(false);
    }));
    QObject::connect(&events, &ConnectionEvents::closed, &form, Guarded(&OnClosed));
}
