#include "Offline.h"

#include "Captions.h"
#include "Connection.h"
#include "ConnectionEvents.h"
#include "ControllerSession.h"
#include "ErrorHandler.h"
#include "FileFun.h"
#include "Form1.h"
#include "Messages.h"
#include "OfflineController.h"
#include "PortOverride.h"
#include "Protocol.h"
#include "ServiceMenu.h"
#include "SettingsFile.h"
#include "TExtText.h"
#include "WindowSession.h"

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>

#include <memory>

namespace {

// The stand-in controller of the open session. It goes with the window at the latest.
class Session : public QObject {
public:
    explicit Session(QObject* parent) : QObject(parent) {}
    ~Session() override { End(); }

    void Begin(const OfflineController::Block& block, const QString& path) {
        controller_ = std::make_unique<OfflineController>(block);
        path_ = path;
        PortOverride::Set(QString::fromStdString(controller_->device()));
    }
    void End() {
        if (!controller_)
            return;
        PortOverride::Clear();
        controller_.reset();
        path_.clear();
    }
    bool IsOpen() const { return controller_ != nullptr; }
    // The file the session edits: the one opened, then the one last saved or loaded.
    const QString& Path() const { return path_; }
    void SetPath(const QString& path) { path_ = path; }

private:
    std::unique_ptr<OfflineController> controller_;
    QString path_;
};

QPointer<Session> session;
QPointer<QAction> openAction;
// The live displays a session hid; no engine runs behind the stand-in, so they show nothing.
QList<QPointer<QWidget>> hiddenDisplays;

void HideLiveDisplays() {
    QList<QWidget*> displays{Form1->Label18, Form1->Label12, Form1->Label17, Form1->Label6,
                             Form1->Gauge1,  Form1->Gauge2,  Form1->Gauge3,  Form1->StaticText2};
    for (TExtText* text : Form1->findChildren<TExtText*>())
        displays << text;
    for (QWidget* display : displays) {
        if (display && !display->isHidden()) {
            display->hide();
            hiddenDisplays << display;
        }
    }
}

void ShowLiveDisplays() {
    for (const QPointer<QWidget>& display : std::as_const(hiddenDisplays))
        if (display)
            display->show();
    hiddenDisplays.clear();
}

void OpenOfflineClick() {
    const QString path = ChooseSettingsPath(Form1->OpenDialog1);
    if (!path.isEmpty())
        OpenFileOffline(path);
}

void OnClosed() {
    ShowLiveDisplays();
    if (session)
        session->End();
    if (openAction)
        openAction->setEnabled(true);
}

} // namespace

bool OfflineSession() {
    return session && session->IsOpen();
}

QString OfflineFile() {
    return OfflineSession() ? session->Path() : QString();
}

QString CaptionForFile(const QString& path) {
    if (!OfflineSession())
        return FileCaption(path);
    session->SetPath(path);
    return OfflineCaption(path);
}

void OpenFileOffline(const QString& path) {
    if (!session || session->IsOpen() || DeviceConnected())
        return;
    if (!SettingsFile::Exists(path)) {
        ShowInformation(QStringLiteral("Такого файла нет!"));
        return;
    }
    qint64 length = 0;
    const QByteArray bytes = SettingsFile::ReadForLoad(path, &length);
    if (!MayTakeSettings(bytes, length, SettingsCheck::Use::Open))
        return;
    session->Begin(SettingsRecords::Parse(bytes), path);
    // A scan that does not end connected leaves no stand-in behind, thrown or not.
    const struct EndUnlessConnected {
        ~EndUnlessConnected() {
            if (!DeviceConnected() && session)
                session->End();
        }
    } endUnlessConnected;
    Connect_to_COM1Click();
    if (DeviceConnected()) {
        Form1->setWindowTitle(OfflineCaption(path));
        HideLiveDisplays();
    }
}

void InstallOffline(TForm1& form) {
    session = new Session(&form);
    openAction = ServiceMenuGroup(form)->addAction(QStringLiteral("Открыть файл без прибора…"));
    openAction->setObjectName(QStringLiteral("OpenOffline"));
    openAction->setEnabled(!DeviceConnected());
    QObject::connect(openAction, &QAction::triggered, &form, Guarded(&OpenOfflineClick));
    ConnectionEvents& events = SessionOf(form).Events();
    QObject::connect(&events, &ConnectionEvents::connected, &form, Guarded([] {
        if (openAction)
            openAction->setEnabled(false);
    }));
    QObject::connect(&events, &ConnectionEvents::closed, &form, Guarded(&OnClosed));
}
