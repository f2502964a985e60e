#include "ProductionLog.h"

#include "ConvertError.h"
#include "Cp1251.h"
#include "DurableWrite.h"
#include "IdentityText.h"
#include "InOutError.h"
#include "PosixFile.h"
#include "ProgramDirectory.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace {

constexpr int SequenceModulus = 0x10000;
constexpr int SequenceDigits = 5;
// How many of the last records are searched for one whose outcome is to be recorded.
constexpr PosixFile::Offset StateSearch = 4096;

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

QByteArray SeparatorOf(NumberState state) {
    switch (state) {
    case NumberState::Reserved:
        return " ?? ";
    case NumberState::Cut:
        return " -- ";
    case NumberState::Numbered:
        break;
    }
    return " ** ";
}

std::optional<NumberState> StateOf(const ProtocolRecord& record) {
    for (NumberState state : {NumberState::Numbered, NumberState::Reserved, NumberState::Cut})
        if (record.separator() == SeparatorOf(state))
            return state;
    return std::nullopt;
}

QString FullText() {
    return QStringLiteral("Номера протокола исчерпаны: последним выдан номер 65535, "
                          "следующего нет. Прибор не нумерован, в протокол ничего не записано. "
                          "Начните новый протокол нумерации.");
}

QString HeaderSerial() {
    return QStringLiteral("Начало протокола   00113");
}

QString FirstSequence() {
    return NextSequence(Cp1251::Encode(HeaderSerial()));
}

void SetDirectory(const QString& directory) {
    ChosenDirectory() = directory;
}

QString Path() {
    const QString directory =
        ChosenDirectory().isEmpty() ? ProgramDirectory::ForLog() : ChosenDirectory();
    return QDir(directory).filePath(QLatin1String(FileName));
}

bool Exists(const QString& path) {
    return QFileInfo(path).exists();
}

QString NewLogQuestion(const QString& path) {
    return QStringLiteral("Протокола нумерации нет: %1\n\nНачать новый протокол в этом месте? "
                          "Первый прибор получит номер %2. Если протокол ведётся в другом месте "
                          "(папка другого пользователя, сетевая папка), новый не начинайте: "
                          "номера повторятся.")
        .arg(QDir::toNativeSeparators(path), FirstSequence());
}

QString NotBegunText(const QString& path) {
    return QStringLiteral("Прибор не нумерован: протокола нумерации %1 нет, новый не начат.")
        .arg(QDir::toNativeSeparators(path));
}

QString MissingText(const QString& path) {
    return QStringLiteral("Протокола нумерации %1 нет. Номер не присвоен, новый протокол не "
                          "начат, ничего не записано.")
        .arg(QDir::toNativeSeparators(path));
}

void CreateIfMissing(const QString& path, const QString& controllerDate) {
    if (PosixFile::IsFile(path))
        return;
    const ProtocolRecord header =
        ProtocolRecord::Make(Cp1251::Encode(HeaderSerial()), Cp1251::Encode(controllerDate));
    const QString directory = PosixFile::DirectoryOf(path);
    // Every member of the folder's group numbers from it, whatever their umask.
    constexpr unsigned GroupWritable = 0664;
    WriteFileDurably(path, header.bytes(),
                     PosixFile::SharedWithGroup(directory) ? std::optional(GroupWritable)
                                                           : std::nullopt);
}

QString NextSequence(const QByteArray& serialField) {
    const QString digits = Cp1251::Decode(
        serialField.mid(IdentityText::SequencePosition, IdentityText::SequenceLength));
    const std::optional<int> last = ParseInteger(digits);
    if (!last)
        throw EConvertError::NotValidInteger(digits);
    const int next = ((*last + 1) % SequenceModulus + SequenceModulus) % SequenceModulus;
    if (next == 0)
        throw std::runtime_error(FullText().toStdString());
    return QString::number(next).rightJustified(SequenceDigits, QLatin1Char('0'));
}

QByteArray NumberedSerial(const QString& shownSerial, const QString& sequence) {
    const int kept = IdentityText::SequencePosition;
    return Cp1251::Encode(shownSerial).left(kept).leftJustified(kept, ' ') +
           Cp1251::Encode(sequence);
}

ProtocolRecord AppendNext(const QString& path, const QString& shownSerial, const QString& today,
                          std::optional<NumberState> state, const SequenceChoice& choose) {
    FileDescriptor log = PosixFile::Open(path, PosixFile::OpenFor::ReadWrite);
    const PosixFile::Offset wholeRecords = PosixFile::Size(log.get()) / ProtocolRecord::Size;
    if (wholeRecords == 0)
        throw EInOutError(InOutCode::ReadBeyondEnd);

    QByteArray last(ProtocolRecord::Size, '\0');
    PosixFile::ReadAt(log.get(), last.data(), ProtocolRecord::Size,
                      (wholeRecords - 1) * ProtocolRecord::Size);
    ProtocolRecord record = ProtocolRecord::FromBytes(last);
    record.setDate(Cp1251::Encode(today).left(ProtocolRecord::DateCapacity));
    const QString next = NextSequence(record.serial());
    const QByteArray product =
        NumberedSerial(shownSerial, QString()).left(IdentityText::SequencePosition);
    record.setSerial(
        NumberedSerial(shownSerial, choose ? choose(Cp1251::Decode(product), next) : next));
    if (state)
        record.setSeparator(SeparatorOf(*state));

    const QByteArray bytes = record.bytes();
    PosixFile::WriteAt(log.get(), bytes.constData(), ProtocolRecord::Size,
                       wholeRecords * ProtocolRecord::Size);
    PosixFile::Sync(log.get());
    log.close();
    return record;
}

bool SetState(const QString& path, const QByteArray& serial, NumberState state) {
    FileDescriptor log = PosixFile::Open(path, PosixFile::OpenFor::ReadWrite);
    const PosixFile::Offset wholeRecords = PosixFile::Size(log.get()) / ProtocolRecord::Size;
    // Other stations append while a controller is written, so the record may no longer be the
    // last; it is never far from the end. The header is no controller's.
    const PosixFile::Offset first = std::max<PosixFile::Offset>(1, wholeRecords - StateSearch);
    if (first >= wholeRecords)
        return false;
    QByteArray tail(static_cast<qsizetype>((wholeRecords - first) * ProtocolRecord::Size), '\0');
    PosixFile::ReadAt(log.get(), tail.data(), static_cast<size_t>(tail.size()),
                      first * ProtocolRecord::Size);
    for (PosixFile::Offset i = wholeRecords - 1; i >= first; --i) {
        const ProtocolRecord record = ProtocolRecord::FromBytes(
            tail.mid(static_cast<qsizetype>((i - first) * ProtocolRecord::Size)));
        if (record.serial() != serial || StateOf(record) != NumberState::Reserved)
            continue;
        const QByteArray separator = SeparatorOf(state);
        PosixFile::WriteAt(log.get(), separator.constData(), static_cast<size_t>(separator.size()),
                           i * ProtocolRecord::Size + ProtocolRecord::SeparatorTextOffset());
        PosixFile::Sync(log.get());
        log.close();
        return true;
    }
    return false;
}

} // namespace ProductionLog
