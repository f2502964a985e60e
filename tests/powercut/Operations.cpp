#include "Operations.h"

#include "AckLog.h"
#include "ChangeJournal.h"
#include "DataLogOperation.h"
#include "IdentityWords.h"
#include "LogNumbering.h"
#include "ProductionLog.h"
#include "ProtocolRecord.h"
#include "RestorePoints.h"
#include "SettingsFile.h"
#include "SettingsRecords.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>

namespace {

const QString Serial = QStringLiteral("PC-0000000000000000000001");
// A word of the block that counts the writes; 47 keeps the identity.
constexpr int CounterIndex = 0;
constexpr int IdentityIndex = IdentityWords::Address - SettingsRecords::FirstAddress;

SettingsRecords::Entries Block(uint16_t counter) {
    SettingsRecords::Entries entries{};
    entries[IdentityIndex].word = IdentityWords::Value;
    entries[CounterIndex].word = counter;
    return entries;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every settings file below the directory is whole; the leftover temporary files of a
// write cut short are not settings files and are counted elsewhere.
QString CheckSettingsFiles(const QString& directory) {
    QDirIterator it(directory, {QStringLiteral("*.q5t")}, QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const qint64 size = QFileInfo(path).size();
        if (size != SettingsRecords::FileSize)
            return QStringLiteral("%1 holds %2 bytes").arg(path).arg(size);
    }
    return {};
}

uint16_t CounterOf(const QByteArray& bytes) {
    return SettingsRecords::Parse(bytes)[CounterIndex];
}

// --- a restore point --------------------------------------------------------------------

void KeepPoints(const QString& directory) {
    AckLog acks(AcksPath(directory));
    const std::vector<RestorePoint> points = RestorePoints::List(directory, Serial);
    uint16_t counter = points.empty() ? 0 : points.front().words[CounterIndex];
    for (;;) {
        ++counter;
        if (const auto path = RestorePoints::Keep(directory, Serial, Block(counter),
                                                  QDateTime::currentDateTime()))
            acks.add(QFile::encodeName(*path));
    }
}

QString CheckPoints(const QString& directory) {
    if (QString damage = CheckSettingsFiles(directory); !damage.isEmpty())
        return damage;
    for (const RestorePoint& point : RestorePoints::List(directory, Serial))
        if (!point.readable)
            return point.path + QStringLiteral(" is not a whole restore point");
    const QString last = QFile::decodeName(AckLog::LastOf(AcksPath(directory)));
    if (!last.isEmpty() && !QFile::exists(last))
        return last + QStringLiteral(" was kept and is gone");
    return {};
}

// --- a settings save --------------------------------------------------------------------

QString SettingsPath(const QString& directory) {
    return QDir(directory).filePath(QStringLiteral("settings.q5t"));
}

void SaveSettings(const QString& directory) {
    AckLog acks(AcksPath(directory));
    const QByteArray old = ReadAll(SettingsPath(directory));
    uint16_t counter = old.size() == SettingsRecords::FileSize ? CounterOf(old) : 0;
    for (;;) {
        SettingsFile::Write(SettingsPath(directory), Block(++counter));
        acks.add(QByteArray::number(counter));
    }
}

QString CheckSettings(const QString& directory) {
    if (QString damage = CheckSettingsFiles(directory); !damage.isEmpty())
        return damage;
    const QByteArray last = AckLog::LastOf(AcksPath(directory));
    if (last.isEmpty())
        return {};
    const QByteArray bytes = ReadAll(SettingsPath(directory));
    if (bytes.size() != SettingsRecords::FileSize)
        return QStringLiteral("the saved settings file is gone");
    // The file holds the save that was reported done, or the one after it.
    const int counter = CounterOf(bytes);
    const int acknowledged = last.toInt();
    if (counter != acknowledged && counter != ((acknowledged + 1) & 0xFFFF))
        return QStringLiteral("the file holds save %1 after save %2 was done")
            .arg(counter)
            .arg(acknowledged);
    return {};
}

// --- a journal append -------------------------------------------------------------------

JournalRecord Record(uint32_t n) {
    JournalRecord record;
    record.time = QDateTime::currentDateTime();
    record.time = record.time.addMSecs(-record.time.time().msec());
    record.serial = Serial;
    record.address = SettingsRecords::FirstAddress + static_cast<int>(n % SettingsRecords::Count);
    record.name = QStringLiteral("Параметр, \"номер\" %1").arg(n);
    record.oldWord = static_cast<uint16_t>(n >> 16);
    record.newWord = static_cast<uint16_t>(n & 0xFFFF);
    record.operation = QStringLiteral("Отключение питания");
    record.confirmed = n % 2 == 0;
    return record;
}

uint32_t NumberOf(const JournalRecord& record) {
    return static_cast<uint32_t>(record.oldWord.value_or(0)) << 16 | record.newWord;
}

// The records the journal will hold after the next append: a last record that lacks only its
// line break is ended by that append and counts.
std::size_t RecordsAfterRepair(const QString& directory) {
    QByteArray bytes = ReadAll(ChangeJournal::PathOf(directory, Serial));
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += '\n';
    const QString copy = QDir(directory).filePath(QStringLiteral("journal-repaired.csv"));
    QFile file(copy);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("the journal's copy is not written");
    file.close();
    return ChangeJournal::Read(copy).size();
}

void AppendJournal(const QString& directory) {
    AckLog acks(AcksPath(directory));
    auto n = static_cast<uint32_t>(RecordsAfterRepair(directory));
    for (;; ++n) {
        if (!ChangeJournal::Append(directory, Record(n)))
            throw std::runtime_error("the journal cannot be written");
        acks.add(QByteArray::number(n));
    }
}

QString CheckJournal(const QString& directory) {
    const std::vector<JournalRecord> records =
        ChangeJournal::Read(ChangeJournal::PathOf(directory, Serial));
    for (std::size_t i = 0; i < records.size(); ++i)
        if (NumberOf(records[i]) != i)
            return QStringLiteral("journal record %1 holds %2").arg(i).arg(NumberOf(records[i]));
    const QByteArray last = AckLog::LastOf(AcksPath(directory));
    if (!last.isEmpty() && records.size() < last.toULongLong() + 1)
        return QStringLiteral("record %1 was appended and is lost").arg(last.constData());
    return {};
}

// --- a numbering from the production log --------------------------------------------------

QString LogPath(const QString& directory) {
    return QDir(directory).filePath(QLatin1String(ProductionLog::FileName));
}

void Number(const QString& directory) {
    AckLog acks(AcksPath(directory));
    for (;;) {
        const ProtocolRecord record = ProductionLog::NumberUnderLock(
            LogPath(directory), QStringLiteral("01.12.26"), Serial, QStringLiteral("08.12.26"));
        acks.add(record.serial().right(5));
    }
}

QString CheckLog(const QString& directory) {
    const QByteArray log = ReadAll(LogPath(directory));
    const qsizetype whole = log.size() / ProtocolRecord::Size;
    int expected = 113;
    for (qsizetype i = 0; i < whole; ++i, ++expected) {
        const ProtocolRecord record =
            ProtocolRecord::FromBytes(log.mid(i * ProtocolRecord::Size, ProtocolRecord::Size));
        const QByteArray sequence = record.serial().right(5);
        if (record.bytes()[25] != 4 || record.bytes()[39] != 2 ||
            sequence != QByteArray::number(expected).rightJustified(5, '0'))
            return QStringLiteral("log record %1 is not whole: %2")
                .arg(i)
                .arg(QString::fromLatin1(record.bytes().toHex()));
    }
    const QByteArray last = AckLog::LastOf(AcksPath(directory));
    if (!last.isEmpty() && expected - 1 < last.toInt())
        return QStringLiteral("number %1 was given and is not in the log").arg(last.constData());
    return {};
}

void TearJournal(const QString& directory) {
    const QString path = ChangeJournal::PathOf(directory, Serial);
    const QByteArray last = AckLog::LastOf(AcksPath(directory));
    const QByteArray bytes = ReadAll(path);
    if (last.isEmpty()) {
        CutAfter(path, 0);
        return;
    }
    // The end of the line that holds the record reported done.
    const QByteArray marker =
        QStringLiteral("Параметр, \"\"номер\"\" %1\"").arg(QString::fromLatin1(last)).toUtf8();
    const qsizetype at = bytes.lastIndexOf(marker);
    const qsizetype end = at < 0 ? -1 : bytes.indexOf('\n', at);
    if (end >= 0)
        CutAfter(path, end + 1);
}

void TearLog(const QString& directory) {
    const QByteArray last = AckLog::LastOf(AcksPath(directory));
    const qint64 records = last.isEmpty() ? 1 : last.toInt() - 113 + 1;
    CutAfter(LogPath(directory), records * ProtocolRecord::Size);
}

} // namespace

void CutAfter(const QString& path, qint64 synced) {
    QFile file(path);
    const qint64 size = file.size();
    if (size <= synced)
        return;
    file.resize(synced + static_cast<qint64>(QRandomGenerator::global()->bounded(
                             static_cast<quint64>(size - synced + 1))));
}

QString AcksPath(const QString& directory) {
    return QDir(directory).filePath(QStringLiteral("acks"));
}

const std::vector<Operation>& Operations() {
    static const std::vector<Operation> operations = {
        {"keep", KeepPoints, CheckPoints, {}},
        {"settings", SaveSettings, CheckSettings, {}},
        {"journal", AppendJournal, CheckJournal, TearJournal},
        {"numbering", Number, CheckLog, TearLog},
        {"datalog", DataLogCut::Record, DataLogCut::Check, DataLogCut::Tear},
    };
    return operations;
}
