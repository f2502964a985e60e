#include "ChangeJournal.h"

#include "Catalogue.h"
#include "CsvLine.h"
#include "DurableFolder.h"
#include "InOutError.h"
#include "PosixFile.h"
#include "ToolData.h"

#include <QDir>
#include <QFile>

namespace {

const QString Yes = QStringLiteral("да");
const QString No = QStringLiteral("нет");
// Journals written before the shown values and the "changed" column had only the raw words.
constexpr int OldFieldCount = 8;
constexpr int FieldCount = 11;
constexpr int FirstShownField = 6; // the shown values and "changed", after the raw words

// A record is one line: a line break in a text (a serial number may hold any byte) becomes a
// blank, so the record reads back and a record cut short stays within its own line.
QString OneLine(QString text) {
    return text.replace(u'\r', u' ').replace(u'\n', u' ');
}

QString ChangedText(const JournalRecord& record) {
    if (!record.oldWord)
        return {};
    return *record.oldWord != record.newWord ? Yes : No;
}

// The record but its last field, whether the controller confirmed the write.
QString HeadOf(const JournalRecord& record) {
    return CsvLine::Join(
               {record.time.toString(Qt::ISODate), OneLine(record.serial),
                QString::number(record.address), OneLine(record.name),
                record.oldWord ? QString::number(*record.oldWord) : QString(),
                QString::number(record.newWord),
                record.oldWord ? ChangeJournal::ShownWord(record, *record.oldWord) : QString(),
                ChangeJournal::ShownWord(record, record.newWord), ChangedText(record),
                OneLine(record.operation)}) +
           u',';
}

QByteArray TailOf(const JournalRecord& record) {
    return ((record.confirmed ? Yes : No) + u'\n').toUtf8();
}

bool SameButConfirmed(JournalRecord record, const JournalRecord& prepared) {
    record.confirmed = prepared.confirmed;
    return record == prepared;
}

std::optional<uint16_t> WordOf(const QString& text) {
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value > 0xFFFF)
        return std::nullopt;
    return static_cast<uint16_t>(value);
}

std::optional<JournalRecord> RecordOf(const QString& line) {
    std::optional<QStringList> fields = CsvLine::Split(line);
    if (fields && fields->size() == FieldCount)
        fields->remove(FirstShownField, FieldCount - OldFieldCount); // derived from the words
    if (!fields || fields->size() != OldFieldCount)
        return std::nullopt;
    JournalRecord record;
    record.time = QDateTime::fromString(fields->at(0), Qt::ISODate);
    bool addressOk = false;
    record.address = fields->at(2).toInt(&addressOk);
    const QString& oldText = fields->at(4);
    const auto oldWord = WordOf(oldText);
    const auto newWord = WordOf(fields->at(5));
    const QString& confirmed = fields->at(7);
    if (!record.time.isValid() || !addressOk || (!oldWord && !oldText.isEmpty()) || !newWord ||
        (confirmed != Yes && confirmed != No))
        return std::nullopt;
    record.serial = fields->at(1);
    record.name = fields->at(3);
    record.oldWord = oldWord;
    record.newWord = *newWord;
    record.operation = fields->at(6);
    record.confirmed = confirmed == Yes;
    return record;
}

} // namespace

bool JournalRecord::operator==(const JournalRecord& other) const {
    return time == other.time && serial == other.serial && address == other.address &&
           name == other.name && oldWord == other.oldWord && newWord == other.newWord &&
           operation == other.operation && confirmed == other.confirmed;
}

namespace {

// A journal begun in another layout (before the shown values) is put aside whole under a
// name of its own, so that each file has one header and a spreadsheet sees even columns. The
// blank keeps the name apart from every serial number's.
void PutAsideOtherLayout(const QString& path, const QByteArray& headerLine) {
    QFile existing(path);
    if (!existing.open(QIODevice::ReadOnly) || existing.size() == 0 ||
        existing.readLine() == headerLine)
        return;
    existing.close();
    const QString stem = path.chopped(4); // ".csv"
    for (int n = 1; n < 1000; ++n) {
        const QString aside = stem + QStringLiteral(" (прежний формат%1).csv")
                                         .arg(n == 1 ? QString() : QStringLiteral(" %1").arg(n));
        if (!QFile::exists(aside) && QFile::rename(path, aside))
            return;
    }
}

} // namespace

namespace ChangeJournal {

QString Header() {
    return CsvLine::Join(
        {QStringLiteral("Время"), QStringLiteral("Серийный номер"), QStringLiteral("Адрес"),
         QStringLiteral("Параметр"), QStringLiteral("Было"), QStringLiteral("Стало"),
         QStringLiteral("Было в окне"), QStringLiteral("Стало в окне"), QStringLiteral("Изменено"),
         QStringLiteral("Операция"), QStringLiteral("Подтверждено")});
}

QByteArray HeaderLine() {
    return CsvLine::ByteOrderMark + (Header() + u'\n').toUtf8();
}

QString ShownWord(const JournalRecord& record, uint16_t word) {
    const Catalogue::Entry* setter = record.address >= 0 && record.address <= 0xFF
                                         ? Catalogue::SetterOf(static_cast<uint8_t>(record.address))
                                         : nullptr;
    // A live word shares its address with a parameter; the name tells them apart.
    return setter && setter->Name() == record.name ? setter->ShownText(word)
                                                   : QString::number(word);
}

QString PathOf(const QString& root, const QString& serial) {
    return QDir(root).filePath(
        QStringLiteral("journal/") +
        ToolData::SerialFileName(serial).value_or(ToolData::NamelessJournal) +
        QStringLiteral(".csv"));
}

bool Append(const QString& root, const JournalRecord& record) {
    Writer writer;
    return writer.Append(root, record) && writer.Sync();
}

Writer::Writer() = default;

Writer::~Writer() {
    Close();
}

// Once a journal is open, each record is one write(2) at its end: nothing else writes to it.
// The path is made only when the journal changes; a load writes many records in a row.
bool Writer::Append(const QString& root, const JournalRecord& record) {
    QByteArray bytes;
    if (!file_ || root != root_ || record.serial != serial_) {
        Close();
        const QString path = PathOf(root, record.serial);
        const QString folder = QDir(root).filePath(QStringLiteral("journal"));
        const std::optional<QStringList> madeIn = DurableFolder::Make(folder);
        if (!madeIn)
            return false;
        unsyncedFolders_ += *madeIn;
        PutAsideOtherLayout(path, HeaderLine());
        // A journal made new, or one put aside, changes the folder's entries.
        const bool isNew = !QFile::exists(path);
        auto file = std::make_unique<QFile>(path);
        if (!file->open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
            return false;
        if (isNew)
            unsyncedFolders_ << folder;
        path_ = path;
        const qint64 size = file->size();
        if (size == 0) {
            bytes = HeaderLine();
        } else if (!file->seek(size - 1) || file->read(1) != "\n") {
            // A record cut short by a crash stays a line of its own, which Read drops.
            bytes = "\n";
        }
        file_ = std::move(file);
        root_ = root;
        serial_ = record.serial;
    }
    if (prepared_ && SameButConfirmed(record, *prepared_))
        bytes += preparedHead_;
    else
        bytes += HeadOf(record).toUtf8();
    prepared_.reset();
    bytes += TailOf(record);
    unsynced_ = true;
    if (file_->write(bytes) != bytes.size()) {
        Close();
        return false;
    }
    return true;
}

void Writer::Prepare(const JournalRecord& record) {
    preparedHead_ = HeadOf(record).toUtf8();
    prepared_ = record;
}

bool Writer::Sync() {
    bool synced = !file_ || PosixFile::TrySync(file_->handle());
    try {
        for (const QString& folder : std::as_const(unsyncedFolders_))
            PosixFile::SyncDirectory(folder);
    } catch (const EInOutError&) {
        synced = false;
    }
    unsyncedFolders_.clear();
    unsynced_ = false;
    return synced;
}

void Writer::SyncInBackground() {
    if (file_ && unsynced_)
        background_.Start(file_->handle());
    for (const QString& folder : std::as_const(unsyncedFolders_))
        background_.StartDirectory(folder);
    unsyncedFolders_.clear();
    unsynced_ = false;
}

bool Writer::AwaitSync(std::chrono::milliseconds bound) {
    return background_.Await(bound);
}

QString Writer::Path() const {
    return path_;
}

void Writer::Close() {
    SyncInBackground();
    file_.reset();
    root_.clear();
    serial_.clear();
}

std::vector<JournalRecord> Read(const QString& path) {
    std::vector<JournalRecord> records;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return records;
    const QByteArray bytes = file.readAll();
    const qsizetype end = bytes.lastIndexOf('\n');
    if (end < 0)
        return records;
    const QList<QByteArray> lines = bytes.left(end).split('\n');
    // The header and any line that is not a whole record parse as nothing.
    for (const QByteArray& line : lines)
        if (const auto record = RecordOf(QString::fromUtf8(line).remove(u'\r')))
            records.push_back(*record);
    return records;
}

} // namespace ChangeJournal
