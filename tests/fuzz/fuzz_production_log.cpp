// Any bytes as the production log: numbering a controller from it either appends a
// well-formed record right after the last whole one (offset 42 × n) or fails with the
// texts the error handler shows, leaving the file as it was. The log never shrinks and is
// never written anywhere else.

#include "FuzzCheck.h"
#include "QtOnce.h"

#include "ConvertError.h"
#include "Cp1251.h"
#include "InOutError.h"
#include "ProductionLog.h"
#include "ProtocolRecord.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>

namespace {

struct Numbering {
    QString shownSerial;
    QString today;
};

// What the window shows and today's date, picked by the input's length.
const Numbering Cases[] = {
    {u"Т-Q5 серия 2024 /A 00000"_qs, u"06.12.26"_qs},
    {u"KM 10"_qs, u"6.1.26"_qs},
    {u"Серийный номер длиннее двадцати четырёх знаков"_qs, u"2026-12-06"_qs},
    {QString(), QString()},
};

constexpr int SerialField = 1; // offsets in a record
constexpr int DateLength = 30;
constexpr int DateField = 31;
constexpr int SequenceAt = 19; // characters 20..24 of the serial number
constexpr int SequenceLength = 5;

const QString& LogPath() {
    static QTemporaryDir directory;
    static const QString path = directory.filePath(QLatin1String(ProductionLog::FileName));
    return path;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "temporary file opens", path);
    Require(file.write(bytes) == bytes.size(), "temporary file written", path);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    Require(file.open(QIODevice::ReadOnly), "log reads back", path);
    return file.readAll();
}

// Characters 20..24 of the last whole record's serial field, as far as its length byte goes.
QString SequenceText(const QByteArray& last) {
    const int length =
        std::min<int>(static_cast<uint8_t>(last.at(0)), ProtocolRecord::SerialCapacity);
    return Cp1251::Decode(last.mid(SerialField, length).mid(SequenceAt, SequenceLength));
}

// Blanks, an optional sign and decimal digits: the number after it, kept to 16 bits.
std::optional<QString> NextSequence(const QString& text) {
    static const QRegularExpression decimal(
        QRegularExpression::anchoredPattern(u" *([+-]?[0-9]+)"_qs));
    const QRegularExpressionMatch match = decimal.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int next = (match.captured(1).toInt() + 1) & 0xFFFF;
    return QString::number(next).rightJustified(SequenceLength, u'0');
}

QByteArray ExpectedRecord(const QByteArray& last, const Numbering& numbering,
                          const QString& sequence) {
    QByteArray record = last;
    const QByteArray serial =
        Cp1251::Encode(numbering.shownSerial).left(SequenceAt).leftJustified(SequenceAt, ' ') +
        sequence.toLatin1();
    record[0] = static_cast<char>(serial.size());
    record.replace(SerialField, serial.size(), serial);
    const QByteArray date = Cp1251::Encode(numbering.today).left(ProtocolRecord::DateCapacity);
    record[DateLength] = static_cast<char>(date.size());
    record.replace(DateField, date.size(), date);
    return record;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnsureApplication(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const QByteArray before(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    const Numbering& numbering = Cases[size % std::size(Cases)];
    const QString& path = LogPath();
    WriteFile(path, before);

    const qsizetype records = before.size() / ProtocolRecord::Size;
    const qsizetype lastAt = (records - 1) * ProtocolRecord::Size;
    const QByteArray last = records > 0 ? before.mid(lastAt, ProtocolRecord::Size) : QByteArray();
    const QString sequenceText = records > 0 ? SequenceText(last) : QString();
    const std::optional<QString> sequence = NextSequence(sequenceText);
    const QString detail =
        QString::number(size) + u" bytes, sequence '"_qs + sequenceText + u"'"_qs;

    try {
        const ProtocolRecord appended =
            ProductionLog::AppendNext(path, numbering.shownSerial, numbering.today);
        Require(records > 0 && sequence.has_value() && *sequence != u"00000"_qs,
                "numbered only from a valid last record", detail);
        const QByteArray expected = ExpectedRecord(last, numbering, *sequence);
        Require(appended.bytes() == expected, "the record returned", detail);
        const QByteArray after = ReadFile(path);
        const qsizetype appendAt = records * ProtocolRecord::Size;
        Require(after.size() == appendAt + ProtocolRecord::Size,
                "the record ends the log, over any partial bytes", detail);
        Require(after.left(appendAt) == before.left(appendAt), "whole records stay untouched",
                detail);
        Require(after.mid(appendAt) == expected, "the record written at 42 × n", detail);
    } catch (const EInOutError& error) {
        Require(records == 0, "a log with a whole record is read", detail);
        Require(QString::fromUtf8(error.what()) == u"Read beyond end of file"_qs,
                "a log without a whole record is refused with its text",
                detail + u": "_qs + error.what());
        Require(ReadFile(path) == before, "a refused log stays as it was", detail);
    } catch (const EConvertError& error) {
        Require(records > 0 && !sequence, "only a sequence that is no number is refused", detail);
        // A NUL, which would end the message early, is shown as '?'.
        const QString shown = QString(sequenceText).replace(QChar(u'\0'), u'?');
        const QString text = u"'"_qs + shown + u"' is not a valid integer value"_qs;
        Require(QString::fromUtf8(error.what()) == text, "the conversion error's text",
                detail + u": "_qs + error.what());
        Require(ReadFile(path) == before, "a refused log stays as it was", detail);
    } catch (const std::runtime_error& error) {
        // 00000 marks an un-numbered controller: the sequence ends before it.
        Require(records > 0 && sequence == u"00000"_qs, "only a spent sequence ends", detail);
        Require(QString::fromUtf8(error.what()) == ProductionLog::FullText(),
                "the spent log's text", detail + u": "_qs + error.what());
        Require(ReadFile(path) == before, "a spent log stays as it was", detail);
    }
    Require(QFile(path).size() >= before.size(), "the log never shrinks", detail);
    return 0;
}
