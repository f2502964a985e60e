#include "LogWriter.h"

#include "CsvLine.h"
#include "DurableFolder.h"
#include "InOutError.h"
#include "LiveSample.h"
#include "LogError.h"
#include "LogFormat.h"
#include "PosixFile.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <system_error>
#include <unistd.h>

namespace {

QString FileName(const QString& path) {
    return QFileInfo(path).fileName();
}

// The trim and its source, after the live values.
constexpr size_t TrimColumns = 2;

bool IsFull(int errorNumber) {
    return errorNumber == ENOSPC || errorNumber == EFBIG || errorNumber == EDQUOT;
}

// Makes the log's folder so that it survives a power cut; the directories to sync once the
// file is in it are returned, the folder's own first.
QStringList MakeFolder(const QString& folder) {
    std::optional<QStringList> holders = DurableFolder::Make(folder);
    if (!holders) {
        // The folder's own trouble, not the file's "no such file", is what the user can mend.
        std::error_code error;
        std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), error);
        throw LogError(QStringLiteral("Папка недоступна для записи:\n%1\n%2. Запись не начата.")
                           .arg(folder, QString::fromLocal8Bit(error.message().c_str())));
    }
    holders->prepend(folder);
    return *holders;
}

} // namespace

LogWriter::LogWriter(const QString& path, std::vector<const Catalogue::Entry*> columns)
    : path_(path), columns_(std::move(columns)) {
    const QStringList unsynced = MakeFolder(QFileInfo(path).absolutePath());
    fd_ =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0)
        throw LogError(QStringLiteral("Не удалось создать файл записи «%1»: %2.")
                           .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    QStringList header{LogFormat::SecondsHeader, LogFormat::TimeHeader};
    for (const Catalogue::Entry* entry : columns_) {
        header << LogFormat::HeaderOf(*entry);
        decimals_.push_back(LogFormat::DecimalsOf(entry->Mask()));
    }
    header << LogFormat::TrimHeader() << LogFormat::TrimSourceHeader() << LogFormat::EventHeader;
    pending_ = LogFormat::ByteOrderMark + CsvLine::Join(header).toUtf8() + '\n';
    try {
        Flush();
        for (const QString& directory : unsynced)
            PosixFile::SyncDirectory(directory);
    } catch (const EInOutError& error) {
        ::close(fd_);
        throw LogError(QStringLiteral("Ошибка записи на диск (%1): запись данных не начата.")
                           .arg(QString::fromLocal8Bit(error.what())));
    } catch (...) {
        ::close(fd_);
        throw;
    }
}

LogWriter::~LogWriter() {
    if (fd_ >= 0)
        ::close(fd_);
}

void LogWriter::AddSample(double seconds, const LiveSample& sample) {
    QStringList cells;
    for (size_t i = 0; i < columns_.size(); ++i) {
        const auto found =
            std::find_if(sample.values.begin(), sample.values.end(),
                         [entry = columns_[i]](const LiveValue& v) { return v.entry == entry; });
        cells << (found != sample.values.end() && found->value
                      ? LogFormat::Number(*found->value, decimals_[i])
                      : QString());
    }
    const std::optional<TrimReading>& trim = sample.trim;
    cells << (trim && trim->percent ? LogFormat::Number(*trim->percent, LogFormat::TrimDecimals)
                                    : QString());
    cells << (trim ? QString::number(static_cast<int>(trim->source)) : QString());
    AppendRow(seconds, sample.wallClock, cells, QString());
}

void LogWriter::AddEvent(double seconds, const QDateTime& time, const QString& text) {
    QStringList cells;
    for (size_t i = 0; i < columns_.size() + TrimColumns; ++i)
        cells << QString();
    AppendRow(seconds, time, cells, text);
}

void LogWriter::AppendRow(double seconds, const QDateTime& time, const QStringList& cells,
                          const QString& event) {
    if (failed_)
        return;
    QStringList fields{LogFormat::Seconds(seconds), LogFormat::TimeText(time)};
    fields << cells << event;
    pending_ += CsvLine::Join(fields).toUtf8();
    pending_ += '\n';
    ++rows_;
}

void LogWriter::Flush() {
    if (failed_ || pending_.isEmpty())
        return;
    qsizetype done = 0;
    while (done < pending_.size()) {
        const ssize_t n = ::write(fd_, pending_.constData() + done, pending_.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            // Keep the rows that reached the file whole; cut a row that was written in part.
            const qsizetype lastEnd = done > 0 ? pending_.lastIndexOf('\n', done - 1) : -1;
            const qint64 keep = written_ + lastEnd + 1;
            if (::ftruncate(fd_, keep) == 0)
                written_ = keep;
            PosixFile::TrySync(fd_);
            Fail(error);
        }
        done += n;
    }
    written_ += pending_.size();
    pending_.clear();
    if (!PosixFile::TrySync(fd_) && errno != EINVAL)
        Fail(errno);
}

void LogWriter::Fail(int errorNumber) {
    failed_ = true;
    pending_.clear();
    const QString kept =
        QStringLiteral("Записанное до этого сохранено в файле «%1».").arg(FileName(path_));
    if (IsFull(errorNumber))
        throw LogError(QStringLiteral("Нет места на диске: запись данных остановлена. ") + kept);
    throw LogError(QStringLiteral("Ошибка записи на диск (%1): запись данных остановлена. ")
                       .arg(QString::fromLocal8Bit(std::strerror(errorNumber))) +
                   kept);
}
