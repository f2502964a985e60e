// Any bytes as a journal file: reading it never fails, and every record it yields is one
// that an append writes back so that it reads the same again (times to whole seconds, as the
// journal keeps them). The same bytes also make one record of any texts and numbers, which
// reads back as it was appended, a control character in a text as a blank.

#include "FuzzCheck.h"
#include "QtOnce.h"

#include "ChangeJournal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

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

QString OneLine(QString text) {
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    return text;
}

// The record as the journal keeps it: whole seconds, control characters in texts as blanks.
JournalRecord AsKept(JournalRecord record) {
    record.time = record.time.addMSecs(-record.time.time().msec());
    record.serial = OneLine(record.serial);
    record.name = OneLine(record.name);
    record.operation = OneLine(record.operation);
    return record;
}

QString AnyText(FuzzedDataProvider& data) {
    return QString::fromUtf8(QByteArray::fromStdString(data.ConsumeRandomLengthString(40)));
}

// A record of any texts and numbers, at any whole second of the years 1900 to 2100.
JournalRecord AnyRecord(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    JournalRecord record;
    record.time = QDateTime(QDate(1900, 1, 1), QTime(0, 0))
                      .addSecs(data.ConsumeIntegralInRange<qint64>(0, 6311390400LL));
    record.serial = AnyText(data);
    record.address = data.ConsumeIntegral<int>();
    record.name = AnyText(data);
    if (data.ConsumeBool())
        record.oldWord = data.ConsumeIntegral<uint16_t>();
    record.newWord = data.ConsumeIntegral<uint16_t>();
    record.operation = AnyText(data);
    record.confirmed = data.ConsumeBool();
    return record;
}

QString Describe(const JournalRecord& r) {
    return r.time.toString(Qt::ISODateWithMs) + u" |"_qs + r.serial + u"| "_qs +
           QString::number(r.address) + u" |"_qs + r.name + u"| "_qs +
           (r.oldWord ? QString::number(*r.oldWord) : u"-"_qs) + u' ' + QString::number(r.newWord) +
           u" |"_qs + r.operation + u"| "_qs + (r.confirmed ? u"yes"_qs : u"no"_qs);
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

    // Appended again, one file per journal the records name, in their order, and then one
    // record made of the input.
    const QString root = Scratch().filePath(u"again"_qs);
    QDir(root).removeRecursively();
    std::vector<JournalRecord> appended = records;
    appended.push_back(AnyRecord(bytes, size));
    std::map<QString, std::vector<JournalRecord>> expected;
    for (const JournalRecord& record : appended) {
        Require(ChangeJournal::Append(root, record), "the record is appended", Describe(record));
        expected[ChangeJournal::PathOf(root, record.serial)].push_back(AsKept(record));
    }
    for (const auto& [path, wanted] : expected) {
        const std::vector<JournalRecord> again = ChangeJournal::Read(path);
        QFile written(path);
        written.open(QIODevice::ReadOnly);
        Require(again.size() == wanted.size(), "every appended record reads back",
                QString::number(again.size()) + u" of "_qs + QString::number(wanted.size()) +
                    u" from "_qs + QString::fromUtf8(written.readAll()));
        for (std::size_t i = 0; i < wanted.size(); ++i)
            Require(again[i] == wanted[i], "a record reads back as it was appended",
                    Describe(wanted[i]) + u" became "_qs + Describe(again[i]));
    }
    return 0;
}
