#pragma once
// The journal of written words: one CSV record (UTF-8 with its byte-order mark, comma-separated)
// per word written to a controller, appended to <root>/journal/<serial for file name>.csv and
// on the disk before Append returns. Beside the raw words, each record shows both as the
// window shows them and says whether the word changed (a load writes every word).

#include "BackgroundSync.h"

#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct JournalRecord {
    QDateTime time; // local time, whole seconds
    // The serial number as shown; empty when it was not read whole (the journal is then
    // ToolData::NamelessJournal).
    QString serial;
    int address = 0;
    QString name;                    // the parameter's name in the catalogue
    std::optional<uint16_t> oldWord; // none: not known (an empty cell)
    uint16_t newWord = 0;
    QString operation;      // what wrote the word, as the user knows it
    bool confirmed = false; // the controller's reply confirmed the write

    bool operator==(const JournalRecord& other) const;
};

namespace ChangeJournal {

// The header row, written once when the journal is new.
QString Header();
// The journal's first line: the byte-order mark, the header row and its line break. A journal
// whose first line differs is of an older layout and is put aside when next written.
QByteArray HeaderLine();

// The journal file of a controller with this serial number.
QString PathOf(const QString& root, const QString& serial);

// The word as the window shows it, with the unit its mask carries ("35 °С"), or the number
// for a word that no control of the record's name sets.
QString ShownWord(const JournalRecord& record, uint16_t word);

// Appends the record, flushed and synced. A line break in one of its texts is written as a
// blank. False when the journal cannot be written; the
// write it records goes on regardless.
bool Append(const QString& root, const JournalRecord& record);

// A journal kept open for a connection. Each record is handed to the system before Append
// returns, so that a crash of the program loses none; Sync puts them on the disk, once a
// write action is over rather than after every word, with the directory entries of a journal
// or folder made new and of a journal put aside. SyncInBackground does it on a thread of its
// own, so that nobody waits for the disk; AwaitSync then waits, bounded, until it is done.
// Close hands what is not yet on the disk to that thread.
class Writer {
public:
    Writer();
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    bool Append(const QString& root, const JournalRecord& record);
    // Formats a record before its write's outcome is known, while the reply is on its way:
    // the Append of that record, confirmed or not, then only writes.
    void Prepare(const JournalRecord& record);
    bool Sync();
    void SyncInBackground();
    // False when the bound ran out or a sync in the background failed.
    bool AwaitSync(std::chrono::milliseconds bound);
    // The journal last opened, kept after Close.
    QString Path() const;
    void Close();

private:
    QString root_, serial_; // of the open journal
    QString path_;
    std::unique_ptr<QFile> file_;
    bool unsynced_ = false;       // records written since the last sync
    QStringList unsyncedFolders_; // whose entries changed since the last sync
    std::optional<JournalRecord> prepared_;
    QByteArray preparedHead_;
    BackgroundSync background_;
};

// The records of a journal in file order, of this layout or of the older one without the shown
// values. A last line without its line break (a write cut short) and any line that is not a
// whole record are dropped; a missing file has none.
std::vector<JournalRecord> Read(const QString& path);

} // namespace ChangeJournal
