#include "ProductionLog.h"

#include "ConvertError.h"
#include "Cp1251.h"
#include "DurableWrite.h"
#include "IdentityText.h"
#include "InOutError.h"
#include "PosixFile.h"
#include "ProgramDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <optional>

namespace {

constexpr int SequenceModulus = 0x10000;
constexpr int SequenceDigits = 5;

// A decimal integer with optional leading blanks and sign, nothing after the digits.
std::optional<int> ParseInteger(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    int value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return negative ? -value : value;
}

QString& ChosenDirectory() {
    static QString directory;
    return directory;
}

} // namespace

namespace ProductionLog {

QString HeaderSerial() {
    return QStringLiteral("Начало протокола   00113");
}

QString PathBesideExecutable() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(FileName));
}

void SetDirectory(const QString& directory) {
    ChosenDirectory() = directory;
}

QString Path() {
    const QString directory =
        ChosenDirectory().isEmpty() ? ProgramDirectory::ForData() : ChosenDirectory();
    return QDir(directory).filePath(QLatin1String(FileName));
}

void CreateIfMissing(const QString& path, const QString& controllerDate) {
    if (PosixFile::IsFile(path))
        return;
    const ProtocolRecord header =
        ProtocolRecord::Make(Cp1251::Encode(HeaderSerial()), Cp1251::Encode(controllerDate));
    WriteFileDurably(path, header.bytes());
}

QString NextSequence(const QByteArray& serialField) {
    const QString digits = Cp1251::Decode(
        serialField.mid(IdentityText::SequencePosition, IdentityText::SequenceLength));
    const std::optional<int> last = ParseInteger(digits);
    if (!last)
        throw EConvertError::NotValidInteger(digits);
    const int next = ((*last + 1) % SequenceModulus + SequenceModulus) % SequenceModulus;
    return QString::number(next).rightJustified(SequenceDigits, QLatin1Char('0'));
}

QByteArray NumberedSerial(const QString& shownSerial, const QString& sequence) {
    const int kept = IdentityText::SequencePosition;
    return Cp1251::Encode(shownSerial).left(kept).leftJustified(kept, ' ') +
           Cp1251::Encode(sequence);
}

ProtocolRecord AppendNext(const QString& path, const QString& shownSerial, const QString& today) {
    FileDescriptor log = PosixFile::Open(path, PosixFile::OpenFor::ReadWrite);
    const PosixFile::Offset wholeRecords = PosixFile::Size(log.get()) / ProtocolRecord::Size;
    if (wholeRecords == 0)
        throw EInOutError(InOutCode::ReadBeyondEnd);

    QByteArray last(ProtocolRecord::Size, '\0');
    PosixFile::ReadAt(log.get(), last.data(), ProtocolRecord::Size,
                      (wholeRecords - 1) * ProtocolRecord::Size);
    ProtocolRecord record = ProtocolRecord::FromBytes(last);
    record.setDate(Cp1251::Encode(today).left(ProtocolRecord::DateCapacity));
    record.setSerial(NumberedSerial(shownSerial, NextSequence(record.serial())));

    const QByteArray bytes = record.bytes();
    PosixFile::WriteAt(log.get(), bytes.constData(), ProtocolRecord::Size,
                       wholeRecords * ProtocolRecord::Size);
    PosixFile::Sync(log.get());
    log.close();
    return record;
}

} // namespace ProductionLog
