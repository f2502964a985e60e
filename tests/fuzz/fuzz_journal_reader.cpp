// Any bytes as a journal file: reading it never fails, and every record it yields is one
// that an append writes back so that it reads the same again (times to whole seconds, as the
// journal keeps them). A journal of records appended one after the other reads back as
// exactly those records.

#include "FuzzCheck.h"
#include "QtOnce.h"

#include "ChangeJournal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <map>
#include <vector>

namespace {

const QTemporaryDir& Scratch() {
    static QTemporaryDir directory;
    return directory;
}

void WriteFile(const QString& path, const uint8_t* bytes, size_t size) {
    QFile file(path);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "temporary file opens", path);
    Require(file.write(reinterpret_cast<const char*>(bytes), static_cast<qint64>(size)) ==
                static_cast<qint64>(size),
            "temporary file written", path);
}

JournalRecord InWholeSeconds(JournalRecord record) {
    record.time = record.time.addMSecs(-record.time.time().msec());
    return record;
}

QString Describe(const JournalRecord& r) {
    return r.time.toString(Qt::ISODateWithMs) + u" |"_qs + r.serial + u"| "_qs +
           QString::number(r.address) + u" |"_qs + r.name + u"| "_qs + QString::number(r.oldWord) +
           u' ' + QString::number(r.newWord) + u" |"_qs + r.operation + u"| "_qs +
           (r.confirmed ? u"yes"_qs : u"no"_qs);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnsureApplication(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const QString input = Scratch().filePath(u"input.csv"_qs);
    WriteFile(input, bytes, size);
    const std::vector<JournalRecord> records = ChangeJournal::Read(input);
    const qsizetype lines =
        QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size)).count('\n');
    Require(static_cast<qsizetype>(records.size()) <= lines, "no more records than line ends");

    // Appended again, one file per journal the records name, in their order.
    const QString root = Scratch().filePath(u"again"_qs);
    QDir(root).removeRecursively();
    std::map<QString, std::vector<JournalRecord>> expected;
    for (const JournalRecord& record : records) {
        Require(ChangeJournal::Append(root, record), "the record is appended", Describe(record));
        expected[ChangeJournal::PathOf(root, record.serial)].push_back(InWholeSeconds(record));
    }
    for (const auto& [path, wanted] : expected) {
        const std::vector<JournalRecord> again = ChangeJournal::Read(path);
        Require(again.size() == wanted.size(), "every appended record reads back",
                QString::number(again.size()) + u" of "_qs + QString::number(wanted.size()));
        for (std::size_t i = 0; i < wanted.size(); ++i)
            Require(again[i] == wanted[i], "a record reads back as it was appended",
                    Describe(wanted[i]) + u" became "_qs + Describe(again[i]));
    }
    return 0;
}
