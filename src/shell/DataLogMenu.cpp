#include "DataLogMenu.h"

#include "ChartWindow.h"
#include "Connection.h"
#include "ConnectionEvents.h"
#include "ControllerSession.h"
#include "DialogFolder.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "HistoryMenu.h"
#include "LineBudget.h"
#include "LiveFeed.h"
#include "LogError.h"
#include "LogFormat.h"
#include "MenuBarCorner.h"
#include "Messages.h"
#include "Recorder.h"
#include "RecordingDialog.h"
#include "RecordingIndicator.h"
#include "ServiceMenu.h"
#include "ToolData.h"
#include "WindowSession.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QPointer>

namespace {

// The key that sets a marker during a recording, in any window of the tool.
constexpr auto MarkerKey = Qt::Key_F9;

// What the main window holds for recording: the live feed of its session, the actions, the
// corner text, the recording and the chart window; all go with the window.
class DataLogControl : public QObject {
public:
    explicit DataLogControl(TForm1& form)
        : QObject(&form), form_(form), session_(SessionOf(form)),
          feed(session_.Poller(), session_.Events()) {
        setObjectName(QStringLiteral("DataLogControl"));
    }

    TForm1& form_;
    ControllerSession& session_;
    LiveFeed feed;
    QAction* record = nullptr;
    QAction* charts = nullptr;
    QAction* marker = nullptr;
    RecordingIndicator* indicator = nullptr;
    std::unique_ptr<Recorder> recorder;
    QPointer<ChartWindow> chartWindow;

    void Begin(const QString& path, int requestedRate, std::optional<Recorder::Trigger> trigger);
    void Mark();
    void End();
    void Failed(const QString& message);
    void ShowState();
};

DataLogControl& ControlOf(TForm1& form) {
    auto* control = form.findChild<DataLogControl*>(QStringLiteral("DataLogControl"),
                                                    Qt::FindDirectChildrenOnly);
    Q_ASSERT(control);
    return *control;
}

void DataLogControl::Begin(const QString& path, int requestedRate,
                           std::optional<Recorder::Trigger> trigger) {
    auto choices = RecordingDialog::Choices::Load(*ToolData::Preferences());
    choices.rate = requestedRate;
    choices.Save(*ToolData::Preferences());
    const int rate = LineBudget::HighestFeedRateThatFits(requestedRate);
    recorder.reset();
    recorder = std::make_unique<Recorder>(path, rate, feed, session_.Journal(), trigger);
    QObject::connect(recorder.get(), &Recorder::failed, this,
                     [this](const QString& message) { RunHandler([&] { Failed(message); }); });
    History::NoteFile(form_, FileKind::Log, path);
    indicator->Start([this] { return recorder ? recorder->ElapsedMs() : 0; },
                     [this] { return recorder && recorder->IsWaiting(); });
    ShowState();
}

// The marker keeps the moment it was asked for; the rows made while its text is typed follow it.
void DataLogControl::Mark() {
    Recorder* marking = recorder.get();
    if (!marking)
        return;
    const auto at = std::chrono::steady_clock::now();
    marking->HoldMarker();
    QInputDialog dialog(&form_);
    dialog.setObjectName(QStringLiteral("MarkerDialog"));
    dialog.setWindowTitle(QStringLiteral("Отметка"));
    dialog.setLabelText(QStringLiteral("Что случилось (можно не писать):"));
    dialog.setOkButtonText(QStringLiteral("Поставить"));
    dialog.setCancelButtonText(QStringLiteral("Отмена"));
    dialog.setAccessibleName(QStringLiteral("Текст отметки"));
    const bool placed = dialog.exec() == QDialog::Accepted;
    // The recording may have ended meanwhile; it kept the marker without a text.
    if (recorder.get() != marking)
        return;
    const QString text = dialog.textValue();
    marking->PlaceMarker(placed ? std::optional<QString>(text) : std::nullopt);
    if (placed && chartWindow)
        chartWindow->AddMarker(
            LogFormat::MarkerTextOf(LogFormat::MarkerEventText(text)).value_or(QString()), at);
}

void DataLogControl::End() {
    if (!recorder)
        return;
    const std::unique_ptr<Recorder> ending = std::move(recorder);
    indicator->Hide();
    ShowState();
    ending->Finish();
}

void DataLogControl::Failed(const QString& message) {
    recorder.reset();
    indicator->Hide();
    ShowState();
    ShowError(message);
}

void DataLogControl::ShowState() {
    record->setChecked(recorder != nullptr);
    record->setText(recorder ? QStringLiteral("Остановить запись")
                             : QStringLiteral("Запись данных…"));
    record->setEnabled(recorder != nullptr || DeviceConnected());
    marker->setEnabled(recorder != nullptr);
    MenuBarCorner::Refresh(form_.MainMenu1);
}

void OnRecordTriggered(TForm1& form) {
    DataLogControl& control = ControlOf(form);
    if (control.recorder) {
        control.End();
        return;
    }
    control.ShowState(); // unchecked until the recording runs
    const QString proposed = Recording::DefaultPath();
    RecordingDialog dialog(proposed, RecordingDialog::Choices::Load(*ToolData::Preferences()),
                           &form);
    // A connection that ended while the dialog was open has nothing to record.
    if (dialog.exec() != QDialog::Accepted || dialog.Path().isEmpty() || !DeviceConnected())
        return;
    // The proposed name carries the time the recording starts, not when the dialog opened.
    const QString path = dialog.Path() == proposed ? Recording::DefaultPath() : dialog.Path();
    if (QFileInfo::exists(path) && !Confirm(QStringLiteral("Такой файл существует! Заменить?")))
        return;
    DialogFolder::Remember(*ToolData::Preferences(), DialogFolder::Kind::Logs, path);
    const RecordingDialog::Choices chosen = dialog.Chosen();
    chosen.Save(*ToolData::Preferences());
    std::optional<Recorder::Trigger> trigger;
    if (chosen.waitForEngine)
        trigger = Recorder::Trigger{static_cast<long double>(chosen.engineSpeed),
                                    static_cast<double>(chosen.beforeSeconds)};
    control.Begin(path, chosen.rate, trigger);
}

} // namespace

namespace Recording {

QString DefaultPath() {
    const QString name =
        ToolData::ProposedStem(CurrentDevice()).value_or(ToolData::NamelessJournal) + u' ' +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")) +
        QStringLiteral(".csv");
    return QDir(DialogFolder::Start(*ToolData::Preferences(), DialogFolder::Kind::Logs))
        .filePath(name);
}

void Start(TForm1& form, const QString& path, int requestedRate,
           std::optional<Recorder::Trigger> trigger) {
    ControlOf(form).Begin(path, requestedRate, trigger);
}

void Mark(TForm1& form) {
    ControlOf(form).Mark();
}

void Stop(TForm1& form) {
    ControlOf(form).End();
}

bool IsRecording(TForm1& form) {
    return ControlOf(form).recorder != nullptr;
}

QString Path(TForm1& form) {
    const auto& recorder = ControlOf(form).recorder;
    return recorder ? recorder->Path() : QString();
}

int Rate(TForm1& form) {
    const auto& recorder = ControlOf(form).recorder;
    return recorder ? recorder->Rate() : 0;
}

qint64 Rows(TForm1& form) {
    const auto& recorder = ControlOf(form).recorder;
    return recorder ? recorder->Rows() : 0;
}

LiveFeed& Feed(TForm1& form) {
    return ControlOf(form).feed;
}

ChartWindow& Charts(TForm1& form) {
    DataLogControl& control = ControlOf(form);
    if (!control.chartWindow) {
        control.chartWindow = new ChartWindow(control.feed, control.session_.Journal(),
                                              control.session_.Events(), &form);
        QObject::connect(control.chartWindow, &ChartWindow::failed, &form,
                         [](const QString& message) { RunHandler([&] { ShowError(message); }); });
    }
    return *control.chartWindow;
}

} // namespace Recording

void InstallDataLog(TForm1& form) {
    auto* control = new DataLogControl(form);
    control->feed.SetLinkLost(&LinkLost);
    QMenu* menu = ServiceMenuGroup(form);
    control->record = menu->addAction(QStringLiteral("Запись данных…"));
    control->record->setObjectName(QStringLiteral("RecordAction"));
    control->record->setCheckable(true);
    control->charts = menu->addAction(QStringLiteral("Графики…"));
    control->charts->setObjectName(QStringLiteral("ChartsAction"));
    control->marker = menu->addAction(QStringLiteral("Отметка…"));
    control->marker->setObjectName(QStringLiteral("MarkerAction"));
    control->marker->setShortcut(QKeySequence(MarkerKey));
    control->marker->setShortcutContext(Qt::ApplicationShortcut);
    control->indicator = new RecordingIndicator(form.MainMenu1);
    control->ShowState();

    QObject::connect(control->record, &QAction::triggered, control,
                     Guarded([&form] { OnRecordTriggered(form); }));
    QObject::connect(control->marker, &QAction::triggered, control,
                     Guarded([control] { control->Mark(); }));
    QObject::connect(control->charts, &QAction::triggered, control, Guarded([&form] {
                         ChartWindow& window = Recording::Charts(form);
                         window.show();
                         window.raise();
                         window.activateWindow();
                     }));
    auto& events = SessionOf(form).Events();
    QObject::connect(&events, &ConnectionEvents::connected, control,
                     Guarded([control] { control->ShowState(); }));
    QObject::connect(&events, &ConnectionEvents::closed, control, Guarded([control] {
        control->End();
        control->ShowState();
    }));
    if (QCoreApplication::instance())
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, control,
                         Guarded([control] { control->End(); }));
}
