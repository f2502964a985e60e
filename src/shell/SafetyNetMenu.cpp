#include "SafetyNetMenu.h"

#include "Connection.h"
#include "ConnectionEvents.h"
#include "ControllerSession.h"
#include "ErrorHandler.h"
#include "FileFun.h"
#include "Form1.h"
#include "InOutError.h"
#include "Messages.h"
#include "NoReplyError.h"
#include "Offline.h"
#include "RestorePoints.h"
#include "SafetyNet.h"
#include "ServiceMenu.h"
#include "ToolData.h"
#include "WindowSession.h"
#include "WriteOperation.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>

#include <stdexcept>

namespace {

const QString BackupKey = QStringLiteral("safety/backupAtConnection");

QPointer<SafetyNet> net;
QPointer<QAction> undoAction;
QPointer<QAction> redoAction;
bool folderReported = false;

void ReportUnwritableFolder() {
    if (folderReported)
        return;
    folderReported = true;
    ShowInformation(QStringLiteral("Папка данных недоступна для записи:\n%1\nТочки восстановления "
                                   "и журнал изменений для этого подключения не ведутся.")
                        .arg(ToolData::Folder()));
}

void ReportJournalNotOnDisk(const QString& path) {
    ShowInformation(QStringLiteral("Журнал изменений не удалось записать на диск:\n%1\nПоследнее "
                                   "изменение в прибор не отправлено. Журнал для этого "
                                   "подключения больше не ведётся: повторите изменение, чтобы "
                                   "записать его в прибор без журнала, или подключитесь заново.")
                        .arg(QDir::toNativeSeparators(path)));
}

// A file edited without a controller is no controller's history.
bool KeepsRecords() {
    return !OfflineSession();
}

void OnConnected() {
    folderReported = false;
    ConnectedDevice& device = CurrentDevice();
    const QString root = KeepsRecords() ? ToolData::Folder() : QString();
    const std::optional<QString> serialName = ToolData::ControllerFileName(device);
    device.pointsName = serialName.value_or(QString());
    if (!KeepsRecords()) {
        // The stand-in answers at once: with every word of the file known, its first change
        // can be undone too, a word that no control shows (the cylinders' constant) included.
        net->CompleteFirstReadBlock();
    } else if (!root.isEmpty() && BackupAtConnection()) {
        // A word that could not be read is marked so in the point, which is then never
        // loaded. A controller whose serial number was not read whole keeps its points under
        // its configuration words, where the next connection that reads the number finds them.
        const SettingsRecords::Entries block = net->CompleteFirstReadBlock();
        const QString nameless = RestorePoints::NamelessName(block);
        device.pointsName = serialName.value_or(nameless);
        try {
            if (serialName)
                RestorePoints::Adopt(root, nameless, *serialName);
            RestorePoints::Keep(root, device.pointsName, block, QDateTime::currentDateTime());
        } catch (const EInOutError&) {
            ReportUnwritableFolder();
        }
    }
    net->Connected(device.serialRead ? device.serial : QString(),
                   folderReported ? QString() : root);
}

// Points kept without a serial number follow the words the controller is left with, so that
// the next connection, which keys them by its first reads, finds them.
void RekeyNamelessPoints() {
    ConnectedDevice& device = CurrentDevice();
    const std::optional<SettingsRecords::Words> words = net->KnownBlock();
    if (device.serialRead || device.pointsName.isEmpty() || !words || !KeepsRecords())
        return;
    const QString name = RestorePoints::NamelessName(*words);
    try {
        RestorePoints::Adopt(ToolData::Folder(), device.pointsName, name);
        device.pointsName = name;
    } catch (const EInOutError&) {
        ReportUnwritableFolder();
    }
}

void UpdateUndoActions() {
    if (!net || !undoAction || !redoAction)
        return;
    const WriteAction* undo = net->History().NextUndo();
    const WriteAction* redo = net->History().NextRedo();
    // While the link is lost the controller may be another one: nothing of this one's is offered.
    const bool connected = DeviceConnected() && !LinkLost();
    undoAction->setEnabled(connected && undo && undo->UndoWrites().has_value());
    undoAction->setText(undo ? QStringLiteral("Отменить: ") + undo->label
                             : QStringLiteral("Отменить"));
    redoAction->setEnabled(connected && redo);
    redoAction->setText(redo ? QStringLiteral("Повторить: ") + redo->label
                             : QStringLiteral("Повторить"));
}

std::vector<AddressedWord> AsAddressed(const std::vector<WrittenWord>& words) {
    std::vector<AddressedWord> addressed;
    addressed.reserve(words.size());
    for (const WrittenWord& word : words)
        addressed.push_back({word.address, word.newWord});
    return addressed;
}

// An undo or redo writes through the checked path under its own name, as no action of its
// own; a write without a reply ends it with `failure`, and the action stays where it was, to
// be tried again.
void WriteStoppingWith(const QString& operation, const std::vector<AddressedWord>& words,
                       const char* failure) {
    try {
        WriteWords(operation, QString(), WriteOperation::Undo::Skip, words);
    } catch (const ENoReply&) {
        throw std::runtime_error(failure);
    }
}

void UndoClick() {
    const WriteAction* action = net ? net->History().NextUndo() : nullptr;
    if (!action || !DeviceConnected())
        return;
    const auto writes = action->UndoWrites();
    if (!writes)
        return;
    WriteStoppingWith(QStringLiteral("Отмена"), AsAddressed(*writes),
                      "Отмена не завершена: нет ответа от прибора!");
    net->History().Undone();
    UpdateUndoActions();
}

void RedoClick() {
    const WriteAction* action = net ? net->History().NextRedo() : nullptr;
    if (!action || !DeviceConnected())
        return;
    WriteStoppingWith(QStringLiteral("Повтор"), AsAddressed(action->RedoWrites()),
                      "Повтор не завершён: нет ответа от прибора!");
    net->History().Redone();
    UpdateUndoActions();
}

// A line edit takes Ctrl+Z for its own typing; when it has nothing typed to take back, the
// keys undo the controller's last change instead.
class UndoKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride)
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (!edit)
            return false;
        if ((key->matches(QKeySequence::Undo) && !edit->isUndoAvailable()) ||
            (key->matches(QKeySequence::Redo) && !edit->isRedoAvailable())) {
            event->ignore();
            return true;
        }
        return false;
    }
};

} // namespace

bool ReadBeforeOverwrite(const std::vector<uint8_t>& addresses) {
    return !net || net->ReadUnknown(addresses);
}

std::optional<uint16_t> KnownParameterWord(uint8_t address) {
    return net ? net->Words().Known(false, address) : std::nullopt;
}

bool BackupAtConnection() {
    return ToolData::Preferences()->value(BackupKey, true).toBool();
}

void InstallSafetyNet(TForm1& form) {
    ControllerSession& session = SessionOf(form);
    net = &session.Net();
    // Undo and redo head the menu; the restore points' switch ends the group of their dialogs.
    QMenu* menu = ServiceMenuOf(form);
    QAction* first = menu->actions().value(0);
    undoAction = new QAction(QStringLiteral("Отменить"), menu);
    undoAction->setObjectName(QStringLiteral("UndoAction"));
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction = new QAction(QStringLiteral("Повторить"), menu);
    redoAction->setObjectName(QStringLiteral("RedoAction"));
    redoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    menu->insertActions(first, {undoAction, redoAction});
    if (first)
        menu->insertSeparator(first);

    auto* backup = menu->addAction(QStringLiteral("Резервная копия при подключении"));
    backup->setObjectName(QStringLiteral("BackupAtConnection"));
    backup->setCheckable(true);
    backup->setChecked(BackupAtConnection());
    QObject::connect(backup, &QAction::toggled, &form, [](bool on) {
        RunHandler([on] { ToolData::Preferences()->setValue(BackupKey, on); });
    });
    for (QAction* action : {undoAction.data(), redoAction.data()})
        action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(undoAction, &QAction::triggered, &form, Guarded(&UndoClick));
    QObject::connect(redoAction, &QAction::triggered, &form, Guarded(&RedoClick));
    auto* undoKeys = new UndoKeys(&form);
    for (QLineEdit* edit : form.findChildren<QLineEdit*>())
        edit->installEventFilter(undoKeys);
    UpdateUndoActions();

    ConnectionEvents& events = session.Events();
    QObject::connect(&events, &ConnectionEvents::connecting, net, [] { net->BeginAttempt(); });
    QObject::connect(&events, &ConnectionEvents::connected, net, [] {
        RunHandler([] { OnConnected(); });
        UpdateUndoActions();
    });
    QObject::connect(&events, &ConnectionEvents::closed, net, [] {
        RunHandler([] { RekeyNamelessPoints(); });
        net->Closed();
    });
    QObject::connect(&events, &ConnectionEvents::linkChanged, net, [] { UpdateUndoActions(); });
    QObject::connect(net, &SafetyNet::historyChanged, net, [] { UpdateUndoActions(); });
    QObject::connect(net, &SafetyNet::journalFailed, net,
                     [] { RunHandler([] { ReportUnwritableFolder(); }); });
    // Told once the write's handler is over, not inside its exchange.
    QObject::connect(
        net, &SafetyNet::journalNotOnDisk, net,
        [](const QString& path) { RunHandler([path] { ReportJournalNotOnDisk(path); }); },
        Qt::QueuedConnection);
}
