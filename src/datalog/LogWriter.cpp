#include "LogWriter.h"

#include "CsvLine.h"
#include "LiveSample.h"
#include "LogError.h"
#include "LogFormat.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString FileName(const QString& path) {
    return QFileInfo(path).fileName();
}

bool IsFull(int errorNumber) {
    return errorNumber == ENOSPC || errorNumber == EFBIG || errorNumber == EDQUOT;
}

} // namespace

LogWriter::LogWriter(const QString& path, std::vector<const Catalogue::Entry*> columns)
    : path_(path), columns_(std::move(columns)) {
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
    header << LogFormat::EventHeader;
    pending_ = LogFormat::ByteOrderMark + CsvLine::Join(header).toUtf8() + '\n';
    try {
        Flush();
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
    AppendRow(seconds, sample.wallClock, cells, QString());
}

void LogWriter::AddEvent(double seconds, const QDateTime& time, const QString& text) {
    QStringList cells;
    for (size_t i = 0; i < columns_.size(); ++i)
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
            ::fdatasync(fd_);
            Fail(error);
        }
        done += n;
    }
    written_ += pending_.size();
    pending_.clear();
    if (::fdatasync(fd_) != 0 && errno != EINVAL)
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
