#include "SafetyNet.h"

#include "Catalogue.h"
#include "ControllerLink.h"
#include "Protocol.h"
#include "WriteOperation.h"

#include <QTimer>

namespace {

const QString ConnectionOperation = QStringLiteral("Подключение");
// A disk that takes longer than this to sync is failing: the next action's write is held.
constexpr std::chrono::milliseconds JournalSyncBound{5000};

const Catalogue::Entry* EntryOf(bool live, uint8_t address) {
    if (!live)
        return Catalogue::SetterOf(address);
    for (const Catalogue::Entry& entry : Catalogue::All())
        if (entry.space == Catalogue::Space::Live && entry.address == address)
            return &entry;
    return nullptr;
}

QString NameOf(bool live, const Catalogue::Entry* entry, uint8_t address) {
    if (entry)
        return entry->Name();
    return live ? QStringLiteral("Слово %1").arg(address) : Catalogue::ParamName(address);
}

// What the user did when no operation names the write.
QString GestureOperation(const Catalogue::Entry* entry) {
    if (!entry)
        return QStringLiteral("Запись");
    switch (entry->kind) {
    case Catalogue::Kind::Value:
        return QStringLiteral("Изменение значения");
    case Catalogue::Kind::List:
        return QStringLiteral("Выбор в списке");
    case Catalogue::Kind::Choice:
        return QStringLiteral("Выбор варианта");
    case Catalogue::Kind::Position:
        return QStringLiteral("Положение движка");
    }
    return QStringLiteral("Запись");
}

} // namespace

SafetyNet::SafetyNet(ControllerLink& link, WriteOperations& operations, QObject* parent)
    : QObject(parent), link_(link), operations_(operations) {
    subscription_ = link_.Observe([this](const ExchangeRecord& record) { OnExchange(record); });
    operations_.SetEndHook(this, [this] { CloseAction(); });
    // The journal of an action goes on the disk while the technician looks at its result;
    // it is there before the controller is written again.
    link_.SetWriteGate([this] { return JournalOnDisk(); });
    link_.SetWriteSent([this](uint8_t command, uint8_t address, uint16_t value) {
        Prepare(command, address, value);
    });
}

SafetyNet::~SafetyNet() {
    link_.SetWriteGate({});
    link_.SetWriteSent({});
    operations_.ClearEndHook(this);
}

void SafetyNet::BeginAttempt() {
    words_.Forget();
    history_.Clear();
    pending_.clear();
    attempting_ = true;
    connected_ = false;
    emit historyChanged();
}

void SafetyNet::Connected(const QString& serial, const QString& journalRoot) {
    attempting_ = false;
    connected_ = true;
    serial_ = serial;
    journalRoot_ = journalRoot;
    journalStopped_ = false;
    std::vector<JournalRecord> pending;
    pending.swap(pending_);
    for (JournalRecord& record : pending) {
        record.serial = serial;
        Journal(record);
    }
    journal_.SyncInBackground();
}

void SafetyNet::Closed() {
    attempting_ = false;
    connected_ = false;
    pending_.clear();
    history_.Clear();
    journalRoot_.clear();
    journal_.Close();
    emit historyChanged();
}

SettingsRecords::Entries SafetyNet::CompleteFirstReadBlock() {
    SettingsRecords::Entries block{};
    bool answering = true;
    for (int i = 0; i < SettingsRecords::Count; ++i) {
        const auto address = static_cast<uint8_t>(SettingsRecords::FirstAddress + i);
        if (!words_.FirstRead(address) && answering)
            answering = link_.SendCommand(CmdReadParam, address, 0);
        SettingsRecords::Entry& entry = block[static_cast<std::size_t>(i)];
        if (const auto first = words_.FirstRead(address))
            entry = *first;
        else
            entry.unread = true;
    }
    return block;
}

std::optional<SettingsRecords::Words> SafetyNet::KnownBlock() const {
    SettingsRecords::Words words{};
    for (int i = 0; i < SettingsRecords::Count; ++i) {
        const std::optional<uint16_t> known =
            words_.Known(false, static_cast<uint8_t>(SettingsRecords::FirstAddress + i));
        if (!known)
            return std::nullopt;
        words[static_cast<std::size_t>(i)] = *known;
    }
    return words;
}

bool SafetyNet::ReadUnknown(const std::vector<uint8_t>& addresses) {
    for (uint8_t address : addresses)
        if (!words_.Known(false, address) && !link_.SendCommand(CmdReadParam, address, 0))
            return false;
    return true;
}

JournalRecord SafetyNet::RecordOf(bool live, uint8_t address, uint16_t sent) {
    const Catalogue::Entry* entry = EntryOf(live, address);
    const WriteOperation* operation = operations_.Current();
    JournalRecord line;
    line.time = clock_.Now();
    line.serial = serial_;
    line.address = address;
    line.name = NameOf(live, entry, address);
    line.oldWord = words_.Known(live, address);
    line.newWord = sent;
    line.operation = operation     ? operation->Operation()
                     : attempting_ ? ConnectionOperation
                                   : GestureOperation(entry);
    return line;
}

void SafetyNet::Prepare(uint8_t command, uint8_t address, uint16_t value) {
    if (!attempting_ && !connected_)
        return;
    const bool live = command == CmdWriteLive;
    prepared_ = Prepared{live, RecordOf(live, address, value)};
    if (connected_ && !journalRoot_.isEmpty())
        journal_.Prepare(prepared_->record);
}

void SafetyNet::OnExchange(const ExchangeRecord& record) {
    const bool live = record.command == CmdWriteLive;
    if (!live && record.command != CmdWriteParam) {
        words_.Observe(record);
        return;
    }
    std::optional<Prepared> prepared;
    prepared.swap(prepared_);
    // A write whose request never went out whole changed nothing: no record, nothing to undo.
    if ((!attempting_ && !connected_) || record.attempts == 0) {
        words_.Observe(record);
        return;
    }
    JournalRecord line = prepared && prepared->live == live &&
                                 prepared->record.address == record.address &&
                                 prepared->record.newWord == record.sent
                             ? std::move(prepared->record)
                             : RecordOf(live, record.address, record.sent);
    const std::optional<uint16_t> before = line.oldWord;
    words_.Observe(record);
    line.confirmed = record.outcome == ExchangeOutcome::Success;
    if (attempting_) {
        pending_.push_back(line);
        return;
    }
    Journal(line);

    const WriteOperation* operation = operations_.Current();
    const bool recorded = operation ? operation->Recorded() : !live;
    if (!recorded || live)
        return;
    if (!operation && !history_.Open() && gestureContinues_ && gestureContinues_()) {
        history_.Reopen();
        emit historyChanged(); // nothing to undo until the gesture ends
    }
    history_.Add({record.address, before, record.sent}, operation ? operation->Label() : QString());
    if (!operation && !closeQueued_) {
        // A step, a commit or a choice ends when its handler returns to the event loop.
        closeQueued_ = true;
        QTimer::singleShot(0, this, [this] { CloseAction(); });
    }
}

void SafetyNet::Journal(const JournalRecord& record) {
    emit feed_.recorded(record);
    if (journalRoot_.isEmpty())
        return;
    if (!journal_.Append(journalRoot_, record)) {
        StopJournal();
        emit journalFailed();
    }
}

void SafetyNet::StopJournal() {
    journalRoot_.clear(); // told once; the writes go on without a journal
    journalStopped_ = true;
    journal_.Close();
}

bool SafetyNet::JournalOnDisk() {
    if (holdingAction_)
        return false;
    if (journalStopped_ || journal_.AwaitSync(JournalSyncBound))
        return true;
    // Synced once it failed, a file may still have lost what it held: the journal of this
    // connection cannot be trusted again, so it is not retried.
    StopJournal();
    // The rest of the action is held too, so that none of it goes out half; it ends when its
    // handler returns to the event loop.
    holdingAction_ = true;
    QTimer::singleShot(0, this, [this] { holdingAction_ = false; });
    emit journalNotOnDisk(journal_.Path());
    return false;
}

void SafetyNet::CloseAction() {
    closeQueued_ = false;
    journal_.SyncInBackground();
    if (operations_.Current() || !history_.Open())
        return;
    history_.Close();
    emit historyChanged();
}
