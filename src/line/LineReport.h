#pragma once
// The production line's report: one CSV row per unit in <data folder>/line/<yyyy-MM-dd>.csv,
// in the journal's conventions (UTF-8 with its byte-order mark, comma-separated, cells a
// spreadsheet would run marked as text). Each row is on the disk before Append returns; the
// stations of one line share one report and take their turns.

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
        Duration
    };
    static QStringList Columns();
    static QString ResultText(bool good); // "ГОДЕН" / "БРАК"
    QString PathFor(const QDate& day) const;

    // False when the row may not be on the disk.
    bool Append(const UnitRecord& record);

    // The rows of a day's report, as read back (header left out); for tests and sheets.
    static QList<QStringList> Read(const QString& path);

    // A report of `records` in these columns, all of it at `path` durably or nothing new
    // there (EInOutError); the line's store exports its day so, every PC's units in one file.
    static void Export(const QString& path, const QList<UnitRecord>& records);

private:
    const QString folder_;
    std::mutex turn_;
};
