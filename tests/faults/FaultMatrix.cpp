// Every operation of the window that talks to the controller, against every fault of the
// controller and its line, through a pseudo-terminal with an emulated controller. Whatever
// the fault: no word reaches the controller that did not come from the user, from a file or
// from a reply; no settings file, production log or data log is damaged; the window stays
// connected and consistent; and every cell ends.

#include "AppFixture.h"
#include "Captions.h"
#include "CellFiles.h"
#include "CellPlan.h"
#include "CellWatchdog.h"
#include "ConnectedWindow.h"
#include "Connection.h"
#include "ControllerWords.h"
#include "EmulatedPorts.h"
#include "ErrorHandler.h"
#include "FileDialogAnswer.h"
#include "FileFun.h"
#include "Form1.h"
#include "FrameAudit.h"
#include "FrameLog.h"
#include "Messages.h"
#include "Monitor.h"
#include "Protocol.h"
#include "RecordingCell.h"
#include "TExtText.h"
#include "TSpinButton.h"
#include "TSpinExtEdit.h"
#include "ToolData.h"

#include <QAction>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <functional>
#include <iterator>
#include <memory>

namespace {

constexpr std::chrono::seconds CellTimeLimit{120};
constexpr int MenuWaitMs = 60000;
constexpr uint8_t LiveSetupStatus = 76;
constexpr uint8_t LiveTrimStatus = 77;

const QString NoReply = QStringLiteral("Нет ответа от прибора!");
const QString WordsNotRead = QStringLiteral("Не удалось прочитать из прибора: ");
const QString UndoStopped = QStringLiteral("Отмена не завершена: нет ответа от прибора!");
constexpr uint8_t CompareAddresses[] = {40, 92};

// Live words hold still, so that the audit knows what every live read was told; the engine
// runs outside setup mode with the oxygen trim active.
void HoldLiveWords(q5emu::Q5Emulator& controller) {
    for (int address = 0; address < AddressCount; ++address)
        controller.setLive(static_cast<uint8_t>(address),
                           controller.live(static_cast<uint8_t>(address)));
    controller.setLive(LiveSetupStatus, 0);
    controller.setLive(LiveTrimStatus, 2);
}

void MarkUnnumbered(q5emu::Q5Emulator& controller) {
    for (uint8_t address = 20; address <= 24; ++address)
        controller.setParam(address, '0');
}

// The fault starts with the operation, or with the frame after its trigger.
void ArmFault(q5emu::Q5Emulator& controller, const OperationRow& row,
              const q5emu::FaultSpec& plan) {
    if (!row.trigger) {
        controller.setFault(plan);
        return;
    }
    auto armed = std::make_shared<std::atomic<bool>>(false);
    controller.setFrameObserver(
        [&controller, plan, trigger = *row.trigger, armed](const q5emu::LoggedFrame& frame) {
            if (frame.command == trigger.command && frame.address == trigger.address &&
                !armed->exchange(true))
                controller.setFault(plan);
        });
}

FaultWindow FaultWindowOf(const std::vector<q5emu::LoggedFrame>& frames, const OperationRow& row,
                          const q5emu::FaultSpec& plan) {
    FaultWindow window{plan.mode, 0, plan.after, plan.times};
    if (!row.trigger)
        return window;
    window.firstFrame = frames.size();
    for (size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].command == row.trigger->command &&
            frames[i].address == row.trigger->address) {
            window.firstFrame = i + 1;
            break;
        }
    }
    return window;
}

// The window as a technician sees it: shown, on the page with the cylinder count and the
// oxygen-sensor display.
void ShowParameterPage(TForm1& form) {
    form.PageControl1->setCurrentWidget(form.TabSheet2);
    form.PageControl3->setCurrentWidget(form.TabSheet6);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
}

// Runs a menu handler from the event loop, as picking its item does, so that an error reaches
// the application's error handler; the file dialog gets the path. Waits until the handler
// returned or reported an error. The handler is posted itself rather than triggered through
// its QAction: an exception unwinding through QAction's frames, which are built without
// exception support, would leak what they hold.
void RunMenuHandler(AppFixture& app, void (*handler)(), const QString& path) {
    FileDialogAnswer answer(path);
    const qsizetype errorsBefore = app.errors.size();
    auto returned = std::make_shared<bool>(false);
    QTimer::singleShot(0, &app.form(), [handler, returned] {
        handler();
        *returned = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(*returned || app.errors.size() > errorsBefore, MenuWaitMs);
    QVERIFY(answer.answered());
}

// Runs a handler from the event loop as a click does and waits until it returned or reported.
void RunLater(AppFixture& app, std::function<void()> handler) {
    const qsizetype errorsBefore = app.errors.size();
    auto returned = std::make_shared<bool>(false);
    QTimer::singleShot(0, &app.form(), [handler = std::move(handler), returned] {
        RunHandler(handler);
        *returned = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(*returned || app.errors.size() > errorsBefore, MenuWaitMs);
}

// The two words a compare write puts into the controller: the load file's.
std::vector<AddressedWord> ComparedWords(const CellFiles& files) {
    return {{CompareAddresses[0], files.loadWord(CompareAddresses[0])},
            {CompareAddresses[1], files.loadWord(CompareAddresses[1])}};
}

// A step up of the cylinder count, closed as an action the undo list offers.
void StepCylindersUp(TForm1& form) {
    TSpinButton* arrows = form.SpinExtEdit2->SpinButton();
    QTest::mouseClick(arrows, Qt::LeftButton, {}, arrows->UpRect().center());
    auto* undo = form.findChild<QAction*>(QStringLiteral("UndoAction"));
    QVERIFY(undo);
    QTRY_VERIFY(undo->isEnabled());
}

void RunOperation(Operation operation, AppFixture& app, const CellFiles& files,
                  RecordingCell& recording) {
    TForm1& form = app.form();
    switch (operation) {
    case Operation::Connection:
    case Operation::Numbering:
    case Operation::RestorePoint:
        QTest::mouseClick(form.Connect_to_COM1, Qt::LeftButton);
        break;
    case Operation::SettingsSave:
        RunMenuHandler(app, &N3Click, files.existingTarget());
        if (!QTest::currentTestFailed())
            RunMenuHandler(app, &N3Click, files.freshTarget());
        break;
    case Operation::SettingsLoad:
        RunMenuHandler(app, &N2Click, files.loadSource());
        break;
    case Operation::MonitorTick:
        Timer2Timer();
        break;
    case Operation::SpinEditWrite: {
        TSpinButton* arrows = form.SpinExtEdit2->SpinButton();
        QTest::mouseClick(arrows, Qt::LeftButton, {}, arrows->UpRect().center());
        break;
    }
    case Operation::QueryTick:
        form.ExtText4->QueryTimer();
        form.ExtText1->QueryTimer();
        break;
    case Operation::CompareWrite:
        RunLater(app, [&files] { WriteChosenWords(ComparedWords(files)); });
        break;
    case Operation::UndoStep:
        RunLater(app,
                 [&form] { form.findChild<QAction*>(QStringLiteral("UndoAction"))->trigger(); });
        break;
    case Operation::Recording:
        recording.Record(form);
        break;
    }
}

QStringList TriplesAt(const FrameAudit& audit, const std::vector<size_t>& indices) {
    QStringList triples;
    for (const size_t i : indices) {
        const q5emu::LoggedFrame& frame = audit.frames()[i];
        triples << Triple(frame.command, frame.address, frame.value);
    }
    return triples;
}

// The writes are the planned ones in order, up to and including the first that the fault hit,
// and nothing after it.
void CheckStopsAtFirstFailure(const FrameAudit& audit, const std::vector<size_t>& writes,
                              const QStringList& planned) {
    const QStringList triples = TriplesAt(audit, writes);
    QVERIFY(!writes.empty());
    QCOMPARE(triples, planned.mid(0, triples.size()));
    for (size_t i = 0; i + 1 < writes.size(); ++i)
        QVERIFY2(!audit.hits(writes[i]), "the writes went on after a write without reply");
    QVERIFY2(audit.hits(writes.back()), "the writes stopped without a failed write");
}

// The writes that are no write-back: the user's step, or the load file's words from the
// first address on, ending with the first write that got no valid reply.
void CheckOwnWrites(Operation operation, const FrameAudit& audit, const CellFiles& files,
                    const ControllerWords& beforeStep, bool stalled) {
    const std::vector<size_t> writes = audit.ownWrites();
    const QStringList triples = TriplesAt(audit, writes);
    switch (operation) {
    case Operation::Numbering: {
        // A read that a stall held up is read again, and the controller is numbered: the last
        // place marked unfinished, the rest and the date, then the last place.
        std::vector<int> addresses;
        for (const size_t i : writes)
            addresses.push_back(audit.frames()[i].address);
        std::vector<int> numbering{24};
        for (int address = 1; address <= 32; ++address)
            if (address != 24)
                numbering.push_back(address);
        numbering.push_back(24);
        QCOMPARE(addresses, stalled ? numbering : std::vector<int>());
        break;
    }
    case Operation::SpinEditWrite:
        // 5 cylinders: the cylinder constant first, then the count.
        QCOMPARE(triples, QStringList({Triple(3, 96, 5859), Triple(3, 71, 5)}));
        break;
    case Operation::SettingsLoad: {
        QStringList fileWrites;
        for (int i = 0; i < triples.size(); ++i) {
            const int address = FirstSettingsAddress + i;
            fileWrites << Triple(CmdWriteParam, address, files.loadWord(address));
        }
        QCOMPARE(triples, fileWrites);
        QVERIFY(!writes.empty());
        for (size_t i = 0; i + 1 < writes.size(); ++i)
            QVERIFY2(!audit.hits(writes[i]), "the load went on after a write without reply");
        QVERIFY2(audit.hits(writes.back()), "the load stopped without a failed write");
        break;
    }
    case Operation::CompareWrite:
        CheckStopsAtFirstFailure(
            audit, writes,
            {Triple(CmdWriteParam, CompareAddresses[0], files.loadWord(CompareAddresses[0])),
             Triple(CmdWriteParam, CompareAddresses[1], files.loadWord(CompareAddresses[1]))});
        break;
    case Operation::UndoStep:
        // Back to 4 cylinders: the count first, then the constant as it was.
        CheckStopsAtFirstFailure(
            audit, writes,
            {Triple(CmdWriteParam, 71, 4), Triple(CmdWriteParam, 96, beforeStep.params[96])});
        break;
    default:
        QCOMPARE(triples, QStringList());
        break;
    }
}

QStringList ChangedWords(const ControllerWords& actual, const ControllerWords& expected) {
    QStringList changed;
    for (int a = 0; a < AddressCount; ++a) {
        if (actual.params[a] != expected.params[a])
            changed << QStringLiteral("P%1 %2 (expected %3)")
                           .arg(a)
                           .arg(actual.params[a])
                           .arg(expected.params[a]);
        if (actual.live[a] != expected.live[a])
            changed << QStringLiteral("live %1 %2 (expected %3)")
                           .arg(a)
                           .arg(actual.live[a])
                           .arg(expected.live[a]);
    }
    return changed;
}

// Files added, removed or changed between two looks at a directory.
QStringList DirectoryChanges(const DirectoryContents& actual, const DirectoryContents& expected) {
    QStringList changes;
    for (const auto& [name, bytes] : expected) {
        const auto found = actual.find(name);
        if (found == actual.end())
            changes << name + QStringLiteral(" gone");
        else if (found->second != bytes)
            changes << name + QStringLiteral(" changed");
    }
    for (const auto& entry : actual)
        if (expected.count(entry.first) == 0)
            changes << entry.first + QStringLiteral(" added");
    return changes;
}

QByteArray Listed(const QStringList& problems) {
    return problems.join(QStringLiteral("; ")).toUtf8();
}

} // namespace

class FaultMatrixTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cell_data();
    void cell();
};

namespace {

QtMessageHandler testLogHandler = nullptr;

// The offscreen platform remarks on every window shown; nothing else is kept back.
void DropPlatformRemarks(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && text.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    testLogHandler(type, context, text);
}

} // namespace

void FaultMatrixTest::initTestCase() {
    testLogHandler = qInstallMessageHandler(DropPlatformRemarks);
}

void FaultMatrixTest::cleanupTestCase() {
    qInstallMessageHandler(testLogHandler);
}

void FaultMatrixTest::cell_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    for (int row = 0; row < static_cast<int>(std::size(OperationRows)); ++row)
        for (int column = 0; column < static_cast<int>(std::size(FaultColumns)); ++column)
            QTest::addRow("%s, %s", OperationRows[row].name, FaultColumns[column].name)
                << row << column;
}

void FaultMatrixTest::cell() {
    QFETCH(int, row);
    QFETCH(int, column);
    const OperationRow& operation = OperationRows[row];
    const q5emu::FaultSpec fault = FaultFor(operation, FaultColumns[column]);
    const CellWatchdog watchdog(QString::fromUtf8(QTest::currentDataTag()), CellTimeLimit);

    EmulatedPorts ports;
    q5emu::Q5Emulator& controller = ports.emulator();
    if (FaultColumns[column].stallMs > 0) {
        // A stalled controller answers what came meanwhile in order, as the controller
        // itself does: no reply tells by its head which request it answers.
        controller.setZeroHead(true);
        controller.setReplyDelay(q5emu::TwoFramesAt19200);
    }
    HoldLiveWords(controller);
    if (operation.operation == Operation::Numbering)
        MarkUnnumbered(controller);
    AppFixture app;
    TForm1& form = app.form();
    ShowParameterPage(form);
    if (operation.connectedBefore) {
        Connect_to_COM1Click();
        QVERIFY2(ConnectedWindowProblems(form).isEmpty(), Listed(ConnectedWindowProblems(form)));
        QVERIFY(form.SpinExtEdit2->isVisible());
        QCOMPARE(form.SpinExtEdit2->Value(), 4.0L);
        QVERIFY(form.ExtText1->isVisible());
    }

    RecordingCell recording;
    if (operation.operation == Operation::Recording)
        recording.TakeReference();
    const ControllerWords beforeStep = ControllerWords::Of(controller);
    if (operation.operation == Operation::UndoStep)
        StepCylindersUp(form);
    if (QTest::currentTestFailed())
        return;
    const ControllerWords wordsBefore = ControllerWords::Of(controller);
    const CellFiles files(wordsBefore);
    QVERIFY(files.valid());
    const QString logDirectory = QFileInfo(app.logPath()).path();
    if (operation.operation == Operation::Numbering) {
        QFile log(app.logPath());
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write(ProductionLogWithOneRecord());
    }
    const bool fileOperation = operation.operation == Operation::SettingsSave ||
                               operation.operation == Operation::SettingsLoad;
    if (fileOperation)
        form.setWindowTitle(FileCaption(files.existingTarget()));
    const QString captionBefore = form.windowTitle();
    const DirectoryContents settingsBefore = ContentsOf(files.directory());
    const DirectoryContents logBefore = ContentsOf(logDirectory);

    controller.clearLog();
    ArmFault(controller, operation, fault);
    SetConfirmPresenter([](const QString&) { return true; });
    RunOperation(operation.operation, app, files, recording);
    SetConfirmPresenter({});
    if (QTest::currentTestFailed())
        return;

    // Words: only the user's, the file's and those replies accounted for.
    const std::vector<q5emu::LoggedFrame> frames = controller.frameLog();
    const FrameAudit audit(frames, wordsBefore, FaultWindowOf(frames, operation, fault),
                           {form.TrackBar2->minimum(), form.TrackBar2->maximum()});
    QVERIFY2(audit.framesHit() > 0, "the fault never met the operation");
    QVERIFY2(audit.writeBackProblems().isEmpty(), Listed(audit.writeBackProblems()));
    const bool stalled = FaultColumns[column].stallMs > 0;
    CheckOwnWrites(operation.operation, audit, files, beforeStep, stalled);
    if (QTest::currentTestFailed())
        return;
    const QStringList changedWords =
        ChangedWords(ControllerWords::Of(controller), audit.expectedWords());
    QVERIFY2(changedWords.isEmpty(), Listed(changedWords));

    // Files: old bytes unchanged; a new settings file only whole.
    const DirectoryContents settingsAfter = ContentsOf(files.directory());
    const QString freshName = QFileInfo(files.freshTarget()).fileName();
    const bool freshSaved = settingsAfter.count(freshName) != 0;
    DirectoryContents settingsExpected = settingsBefore;
    if (freshSaved) {
        QCOMPARE(operation.operation, Operation::SettingsSave);
        QCOMPARE(settingsAfter.at(freshName).size(), SettingsFileSize);
        settingsExpected[freshName] = settingsAfter.at(freshName);
    }
    const QStringList settingsChanges = DirectoryChanges(settingsAfter, settingsExpected);
    QVERIFY2(settingsChanges.isEmpty(), Listed(settingsChanges));
    const QStringList logChanges = DirectoryChanges(ContentsOf(logDirectory), logBefore);
    const bool numbered = operation.operation == Operation::Numbering && stalled;
    const QStringList logExpected =
        numbered ? QStringList{QFileInfo(app.logPath()).fileName() + QStringLiteral(" changed")}
                 : QStringList();
    QVERIFY2(logChanges == logExpected, Listed(logChanges));
    QDirIterator points(ToolData::Folder() + QStringLiteral("/backups"), QDir::Files,
                        QDirIterator::Subdirectories);
    while (points.hasNext())
        QVERIFY2(QFileInfo(points.next()).size() == SettingsFileSize,
                 qPrintable(points.filePath()));

    // The window: still connected, every control usable, the failure reported.
    const QStringList windowProblems = ConnectedWindowProblems(form);
    QVERIFY2(windowProblems.isEmpty(), Listed(windowProblems));
    // A connection names the words it could not read, in one message; a stall costs none.
    const bool connecting = !operation.connectedBefore;
    if (connecting && FaultColumns[column].stallMs == 0 && !app.messages.isEmpty())
        QVERIFY2(app.messages.size() == 1 && app.messages.front().startsWith(WordsNotRead),
                 Listed(app.messages));
    else
        QCOMPARE(app.messages, QStringList());
    switch (operation.operation) {
    case Operation::SettingsSave:
        QCOMPARE(app.errors, QStringList(freshSaved ? 1 : 2, NoReply));
        QCOMPARE(form.windowTitle(), freshSaved ? FileCaption(files.freshTarget()) : captionBefore);
        break;
    case Operation::SettingsLoad:
    case Operation::CompareWrite:
        // A write stopped part-way adds how far it got.
        QVERIFY2(app.errors.size() == 1 && app.errors.front().startsWith(NoReply),
                 Listed(app.errors));
        if (operation.operation == Operation::SettingsLoad)
            QCOMPARE(form.windowTitle(), BaseCaption());
        break;
    case Operation::UndoStep:
        QCOMPARE(app.errors, QStringList{UndoStopped});
        break;
    case Operation::Recording: {
        const QStringList logProblems = recording.Problems();
        QVERIFY2(logProblems.isEmpty(), Listed(logProblems));
        QCOMPARE(app.errors, QStringList());
        QCOMPARE(form.windowTitle(), captionBefore);
        break;
    }
    default:
        QCOMPARE(app.errors, QStringList());
        QCOMPARE(form.windowTitle(), captionBefore);
        break;
    }
}

// The program's own application object, so that errors reach its error handler.
int main(int argc, char** argv) {
    TApplication application(argc, argv);
    FaultMatrixTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FaultMatrix.moc"
