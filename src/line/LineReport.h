#pragma once
// The production line's report: one CSV row per unit in <data folder>/line/<yyyy-MM-dd>.csv,
// in the journal's conventions (UTF-8 with its byte-order mark, comma-separated, cells a
// spreadsheet would run marked as text). Each row is on the disk before Append returns; the
// stations of one line share one report and take their turns.

#include "LabelOutcome.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <mutex>

struct UnitRecord {
    QDateTime time;  // when the result was known, local time
    int station = 0; // 1..4
    QString operatorName;
    QString serial; // as the controller holds it after the unit; empty when not read
    // The serial number given from the production log when the unit does not hold it whole;
    // not a column of the report, whose serial number is the one read back.
    QString givenSerial;
    QString date; // of manufacture
    QString referenceName;
    QString referenceSha256; // hex
    bool good = false;
    QString reason; // empty for a good unit
    // The words read back otherwise than written, each by its control's caption with both
    // values as the window shows them: "Обогащение при разгоне: записано 120 %, прочитано 100 %".
    QString differed;
    qint64 durationMs = 0;
    // The attempt as the line's store knows it: made with its uid where it was worked; 2, 3, …
    // for a unit plugged in again; the number it took from the store, if it took one.
    QString uid;
    int attempt = 1;
    QString numberTaken;
    LabelOutcome label;
};

Q_DECLARE_METATYPE(UnitRecord)

class LineReport {
public:
    explicit LineReport(QString dataFolder);

    // The report's columns, in order.
    enum Column : int {
        Time,
        Station,
        Operator,
        Serial,
        Made,
        Reference,
        Sha256,
        Result,
        Reason,
        Differed,
        Duration,
        Label,
        LabelChecked,
        LabelReprints
    };
    // The columns of reports written before labels were printed; their rows read as unlabelled.
    static constexpr int UnlabelledColumns = Duration + 1;
    static QStringList Columns();
    static QString ResultText(bool good); // "ГОДЕН" / "БРАК"
    QString PathFor(const QDate& day) const;

    // False when the row may not be on the disk.
    bool Append(const UnitRecord& record);

    // Rewrites the label's cells of the unit's row (the unit known by its time and station) in
    // its day's report, the file replaced whole; false when the row is not there or the file
    // cannot be replaced.
    bool UpdateLabel(const UnitRecord& record);

    // The rows of a day's report, as read back (header left out; a row of fewer columns filled
    // up with empty cells); for tests and sheets.
    static QList<QStringList> Read(const QString& path);
    // The unit a row tells of, as far as the row tells.
    static UnitRecord RecordOf(const QStringList& row);

    // A report of `records` in these columns, all of it at `path` durably or nothing new
    // there (EInOutError); the line's store exports its day so, every PC's units in one file.
    static void Export(const QString& path, const QList<UnitRecord>& records);

private:
    const QString folder_;
    std::mutex turn_;
};
