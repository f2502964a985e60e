#include "HistoryMenu.h"

#include "ChartWindow.h"
#include "ConnectedDevice.h"
#include "ConnectionEvents.h"
#include "ControllerHistory.h"
#include "ControllerSession.h"
#include "DataLogMenu.h"
#include "DialogFolder.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "HistoryWindow.h"
#include "MenuBarCorner.h"
#include "Messages.h"
#include "OpenHistory.h"
#include "RestorePointsDialog.h"
#include "SafetyDialogs.h"
#include "ServiceMenu.h"
#include "SettingsFile.h"
#include "SettingsRecords.h"
#include "ToolData.h"
#include "VisitRecorder.h"
#include "WindowSession.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QToolButton>
#include <QUrl>

namespace {

const QString HolderName = QStringLiteral("HistoryControl");

HistoryPlace PlaceNow() {
    const auto preferences = ToolData::Preferences();
    return {ToolData::Folder(),
            {DialogFolder::Start(*preferences, DialogFolder::Kind::Logs),
             DialogFolder::Start(*preferences, DialogFolder::Kind::Pdfs),
             DialogFolder::Start(*preferences, DialogFolder::Kind::Settings)}};
}

std::pair<QString, QString> WorkshopAndTechnician() {
    const auto preferences = ToolData::Preferences();
    return {preferences->value(QStringLiteral("sheets/workshop")).toString(),
            preferences->value(QStringLiteral("sheets/technician")).toString()};
}

// In the corner while the connected controller's service is due ("Пора ТО") or, when it is
// not, while its history holds earlier visits (how many); a click shows the history. It only
// offers: the connection goes on whether or not anyone looks.
class HistoryIndicator : public QToolButton {
public:
    explicit HistoryIndicator(QMenuBar* menuBar) : QToolButton(menuBar), menuBar_(menuBar) {
        setObjectName(QStringLiteral("HistoryIndicator"));
        setAutoRaise(true);
        setFixedWidth(0);
        MenuBarCorner::Add(menuBar, this);
    }
    void Say(const QString& due, int earlierVisits) {
        // Short on the bar, where the menus need the room; whole for assistive technology.
        const QString visits =
            earlierVisits > 0 ? ControllerHistory::VisitsText(earlierVisits) : QString();
        setStyleSheet(due.isEmpty() ? QString()
                                    : QStringLiteral("color: #c80000; font-weight: bold"));
        setText(!due.isEmpty()     ? QStringLiteral("Пора ТО")
                : visits.isEmpty() ? QString()
                                   : QStringLiteral("История: %1").arg(visits));
        const QString history =
            visits.isEmpty() ? QString() : QStringLiteral("История прибора: %1").arg(visits);
        const QString full = due.isEmpty() ? history : QStringLiteral("Пора ТО: %1").arg(due);
        setAccessibleName(full);
        QStringList description;
        if (!due.isEmpty() && !history.isEmpty())
            description << history;
        if (!full.isEmpty())
            description << QStringLiteral("Показать историю прибора");
        setAccessibleDescription(description.join(QStringLiteral(". ")));
        setToolTip((QStringList{full} + description).join(u'\n').trimmed());
        setFixedWidth(full.isEmpty() ? 0 : sizeHint().width() + 8);
        MenuBarCorner::Refresh(menuBar_);
    }

private:
    QMenuBar* menuBar_;
};

class HistoryControl : public QObject {
public:
    explicit HistoryControl(TForm1& form)
        : QObject(&form), form_(form),
          recorder(SessionOf(form), {PlaceNow(), [] { return QDateTime::currentDateTime(); },
                                     &WorkshopAndTechnician}),
          indicator(new HistoryIndicator(form.MainMenu1)) {
        setObjectName(HolderName);
    }
    TForm1& form_;
    VisitRecorder recorder;
    HistoryIndicator* indicator;
    QPointer<HistoryWindow> window;
};

HistoryControl& ControlOf(TForm1& form) {
    auto* control = form.findChild<HistoryControl*>(HolderName, Qt::FindDirectChildrenOnly);
    Q_ASSERT(control);
    return *control;
}

QString ConnectedSerial() {
    const ControllerSession& session = SessionOf(*Form1);
    return session.Connected() && session.Identity().serialRead
               ? HistoryStore::SerialKey(session.Identity().serial)
               : QString();
}

// The restore-points window over the controller's points with the chosen one marked: the
// connected controller's own window, or for another one a window that only shows them.
void OpenPoint(const QString& serial, const QString& path) {
    std::unique_ptr<RestorePointsDialog> dialog;
    if (serial == ConnectedSerial()) {
        dialog = MakeRestorePointsDialog(Form1);
    } else {
        const QString folder = QFileInfo(path).absolutePath();
        const std::vector<RestorePoint> points =
            RestorePoints::List(ToolData::Folder(), QFileInfo(folder).fileName());
        SettingsRecords::Words words{};
        for (const RestorePoint& point : points)
            if (QFileInfo(point.path) == QFileInfo(path))
                words = point.words;
        RestorePointsView view{serial, points, words, folder, {}};
        dialog = std::make_unique<RestorePointsDialog>(
            std::move(view),
            [](const RestorePoint&) -> std::optional<SettingsRecords::Words> {
                ShowInformation(QStringLiteral("Подключите этот прибор, чтобы восстановить его "
                                               "настройки из точки."));
                return std::nullopt;
            },
            Form1);
    }
    dialog->ChoosePoint(path);
    dialog->exec();
}

void OpenLog(const QString& path) {
    ChartWindow& charts = Recording::Charts(*Form1);
    charts.OpenLog(path);
    charts.show();
    charts.raise();
}

void OpenFile(const QString& path) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        ShowInformation(
            QStringLiteral("Не удалось открыть файл:\n%1").arg(QDir::toNativeSeparators(path)));
}

void ShowWindow(TForm1& form, bool dueOnly) {
    HistoryWindow& window = History::WindowOf(form);
    if (dueOnly)
        window.ShowDue();
    else if (const QString serial = ConnectedSerial(); !serial.isEmpty())
        window.ShowController(serial);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

namespace History {

VisitRecorder& RecorderOf(TForm1& form) {
    return ControlOf(form).recorder;
}

void NoteFile(TForm1& form, FileKind kind, const QString& path) {
    if (auto* control = form.findChild<HistoryControl*>(HolderName, Qt::FindDirectChildrenOnly))
        control->recorder.NoteFile(kind, QFileInfo(path).absoluteFilePath());
}

HistoryWindow& WindowOf(TForm1& form) {
    HistoryControl& control = ControlOf(form);
    if (!control.window) {
        const auto guarded = [](auto open) {
            return [open](const auto&... args) { RunHandler([&] { open(args...); }); };
        };
        control.window = new HistoryWindow(
            PlaceNow(), {guarded(&OpenPoint), guarded(&OpenLog), guarded(&OpenFile)},
            [] { return QDate::currentDate(); }, &form);
    }
    return *control.window;
}

std::vector<std::pair<QString, QString>> VehicleOnPaper(const ConnectedDevice& device) {
    if (!device.serialRead)
        return {};
    try {
        const OpenedHistory opened = OpenHistory(PlaceNow());
        const std::optional<KnownController> known =
            HistoryStore(*opened.store).Controller(HistoryStore::SerialKey(device.serial));
        return known ? known->card.Fields() : std::vector<std::pair<QString, QString>>{};
    } catch (const StoreError&) {
        return {}; // the sheet goes without the car; the history says why when opened
    }
}

QString CornerShown(TForm1& form) {
    return ControlOf(form).indicator->accessibleName();
}

} // namespace History

void InstallHistory(TForm1& form) {
    auto* control = new HistoryControl(form);
    QMenu* menu = ServiceMenuGroup(form);
    QAction* history = menu->addAction(QStringLiteral("История прибора…"));
    history->setObjectName(QStringLiteral("HistoryAction"));
    QAction* due = menu->addAction(QStringLiteral("Приборы: ТО"));
    due->setObjectName(QStringLiteral("DueAction"));
    QObject::connect(history, &QAction::triggered, control,
                     Guarded([&form] { ShowWindow(form, false); }));
    QObject::connect(due, &QAction::triggered, control,
                     Guarded([&form] { ShowWindow(form, true); }));
    QObject::connect(control->indicator, &QToolButton::clicked, control,
                     Guarded([&form] { ShowWindow(form, false); }));
    ConnectionEvents& events = SessionOf(form).Events();
    for (auto event : {&ConnectionEvents::connecting, &ConnectionEvents::closed})
        QObject::connect(&events, event, control, [control] { control->indicator->Say({}, 0); });
    QObject::connect(&control->recorder, &VisitRecorder::visitRecorded, control,
                     [control](const QString& serial, const QString& dueText, int earlier) {
                         if (serial == ConnectedSerial())
                             control->indicator->Say(dueText, earlier);
                     });
    QObject::connect(&control->recorder, &VisitRecorder::storeTrouble, control,
                     [](const QString& text) { RunHandler([&] { ShowInformation(text); }); });
}
