#include "RecordingCell.h"

#include "ControllerLink.h"
#include "ControllerSession.h"
#include "DataLogMenu.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "LiveFeed.h"
#include "LiveSample.h"
#include "LogError.h"
#include "LogFormat.h"
#include "LogReader.h"
#include "WindowSession.h"

#include <QFile>
#include <QTest>

#include <cmath>

namespace {

constexpr int SamplesWaitMs = 30000;

QString ColumnName(const Catalogue::Entry& entry) {
    return LogFormat::SplitHeader(LogFormat::HeaderOf(entry)).first;
}

// The value as the log writes it, read back.
double Logged(const Catalogue::Entry& entry, long double value) {
    return LogFormat::Number(value, LogFormat::DecimalsOf(entry.Mask())).toDouble();
}

} // namespace

RecordingCell::RecordingCell() = default;

void RecordingCell::TakeReference() {
    const LiveSample sample = ReadLiveSample(SessionOf(*Form1).Poller());
    for (const LiveValue& value : sample.values)
        if (value.value)
            columns_[ColumnName(*value.entry)] = {value.entry, Logged(*value.entry, *value.value)};
    // The trim and its source, as the trim line reads them.
    if (sample.trim) {
        if (sample.trim->percent)
            columns_[LogFormat::TrimName] = {
                nullptr,
                LogFormat::Number(*sample.trim->percent, LogFormat::TrimDecimals).toDouble()};
        columns_[LogFormat::TrimSourceName] = {nullptr, double(sample.trim->source)};
    }
}

void RecordingCell::Record(TForm1& form) {
    // A reply late by less than the line's scheduling delay is still taken in time, so the
    // log must show an empty cell exactly when one of the recording's reads went unanswered.
    const ExchangeObservers::Subscription failures =
        SessionOf(form).Link().Observe([this](const ExchangeRecord& record) {
            if (record.outcome != ExchangeOutcome::Success)
                ++failedExchanges_;
        });
    int samples = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&Recording::Feed(form), &LiveFeed::sampled, &Recording::Feed(form),
                         [&samples] { ++samples; });
    RunHandler([&] {
        Recording::Start(form, directory_.filePath(QStringLiteral("drive.csv")), RequestedRate);
    });
    QTRY_VERIFY_WITH_TIMEOUT(samples >= SamplesInFault || !Recording::IsRecording(form),
                             SamplesWaitMs);
    QObject::disconnect(counting);
    RunHandler([&] {
        rowsMade_ = Recording::Rows(form);
        Recording::Stop(form);
    });
}

QStringList RecordingCell::Problems() const {
    const QString path = directory_.filePath(QStringLiteral("drive.csv"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("no log")};
    if (!file.readAll().endsWith('\n'))
        return {QStringLiteral("the log does not end with a whole row")};
    DataLog log;
    try {
        log = LogReader::Read(path);
    } catch (const LogError& error) {
        return {QStringLiteral("the log does not reopen: ") + error.text()};
    }
    QStringList problems;
    // A write-back the window made meanwhile has a row of its own, which is no sample.
    const qint64 rowsReopened = qint64(log.Rows() + log.events.size());
    if (log.Rows() < size_t(SamplesInFault) || rowsReopened != rowsMade_)
        problems << QStringLiteral("%1 rows reopened of %2 made").arg(rowsReopened).arg(rowsMade_);
    if (columns_.size() != log.series.size())
        problems << QStringLiteral("%1 columns read before the fault, %2 in the log")
                        .arg(columns_.size())
                        .arg(log.series.size());
    size_t emptyCells = 0;
    for (const LogSeries& series : log.series) {
        const auto column = columns_.find(series.name);
        for (size_t row = 0; row < series.values.size(); ++row) {
            const double value = series.values[row];
            if (std::isnan(value))
                ++emptyCells;
            else if (column == columns_.end() || value != column->second.reference)
                problems << QStringLiteral("row %1: %2 = %3").arg(row).arg(series.name).arg(value);
        }
    }
    if (failedExchanges_ > 0 && emptyCells == 0)
        problems << QStringLiteral("%1 exchanges failed, no read failed in the log")
                        .arg(failedExchanges_);
    if (failedExchanges_ == 0 && emptyCells > 0)
        problems << QStringLiteral("%1 cells empty, every exchange answered").arg(emptyCells);
    return problems;
}
