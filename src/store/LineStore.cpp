#include "LineStore.h"

#include "StoreStatement.h"

#include <QSqlQuery>
#include <QVariant>

#include <initializer_list>

namespace {

const QString Failure = QStringLiteral("Ошибка базы линии: %1");

QSqlQuery Run(const QSqlDatabase& db, const QString& sql, std::initializer_list<QVariant> values) {
    StoreStatement statement(db, sql, Failure);
    return std::move(statement.Run(values));
}

QString Now() {
    return StoreTime(QDateTime::currentDateTime());
}

} // namespace

LineStore::LineStore(StoreDatabase& store) : store_(store) {
    // A unit's record is on the disk before its result is shown.
    if (!store.IsShared())
        QSqlQuery(store.Db()).exec(QStringLiteral("PRAGMA synchronous=FULL"));
}

QString LineStore::SerialOf(const QString& product, int sequence) {
    return product + QStringLiteral("%1").arg(sequence, 5, 10, QLatin1Char('0'));
}

std::optional<int> LineStore::TakeInOneStatement(const QString& product, int least,
                                                 const LineAttempt& attempt) {
    // The counter moves and the number is reserved in one statement, its own transaction: the
    // counter's row is locked only while the server runs it, never across a round trip, so
    // the stations of every PC that take at once wait on each other the least. No row when
    // the counter is not there yet or its numbers are used up: the transaction then tells.
    const QString now = Now();
    QSqlQuery taken = Run(
        store_.Db(),
        QStringLiteral(
            "WITH moved AS (UPDATE line_counters SET last_sequence = CASE "
            "WHEN last_sequence + 1 > ? THEN last_sequence + 1 ELSE ? END "
            "WHERE product = ? AND CASE WHEN last_sequence + 1 > ? THEN last_sequence + 1 "
            "ELSE ? END <= ? RETURNING last_sequence) "
            "INSERT INTO line_numbers (product, year, sequence, serial, state, attempt_uid, pc, "
            "station, taken_at, changed_at) SELECT ?, ?, last_sequence, "
            "CAST(? AS TEXT) || lpad(CAST(last_sequence AS TEXT), 5, '0'), ?, ?, ?, ?, ?, ? "
            "FROM moved RETURNING sequence"),
        {least, least, product, least, least, LastSequence, product, QDate::currentDate().year(),
         product, NumberStateName(NumberState::Reserved), attempt.uid, attempt.pc, attempt.station,
         now, now});
    if (!taken.next())
        return std::nullopt;
    return taken.value(0).toInt();
}

int LineStore::Take(const QString& product, int floor, const LineAttempt& attempt) {
    const int least = std::max(floor, FirstSequence);
    if (store_.IsShared() && !store_.ReadOnly())
        if (const std::optional<int> sequence = TakeInOneStatement(product, least, attempt))
            return *sequence;
    int sequence = 0;
    // Prepared before the counter's row is locked, and let go after the commit: another
    // station waits only for the statements' runs.
    const QSqlDatabase db = store_.Db();
    StoreStatement moved(db,
                         QStringLiteral("UPDATE line_counters SET last_sequence = CASE "
                                        "WHEN last_sequence + 1 > ? THEN "
                                        "last_sequence + 1 ELSE ? END WHERE product = ? "
                                        "RETURNING last_sequence"),
                         Failure);
    StoreStatement made(db,
                        QStringLiteral("INSERT INTO line_counters (product, "
                                       "last_sequence) VALUES (?, ?) ON CONFLICT "
                                       "(product) DO NOTHING RETURNING last_sequence"),
                        Failure);
    StoreStatement reserved(
        db,
        QStringLiteral("INSERT INTO line_numbers (product, year, sequence, serial, "
                       "state, attempt_uid, pc, station, taken_at, changed_at) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        Failure);
    store_.Transaction([&] {
        // The counter's row is locked by the update until the commit: another PC's taking
        // waits for it and then counts on from the number given here.
        for (;;) {
            if (QSqlQuery& rows = moved.Run({least, least, product}); rows.next()) {
                sequence = rows.value(0).toInt();
                rows.finish(); // SQLite commits no statement still running
                break;
            }
            if (QSqlQuery& rows = made.Run({product, least}); rows.next()) {
                sequence = rows.value(0).toInt();
                rows.finish();
                break;
            }
        }
        if (sequence > LastSequence)
            throw StoreError(StoreError::Kind::Failed,
                             QStringLiteral("Номера «%1…» исчерпаны: последний, %2, уже выдан.")
                                 .arg(product.trimmed())
                                 .arg(LastSequence));
        const QString now = Now();
        reserved.Run({product, QDate::currentDate().year(), sequence, SerialOf(product, sequence),
                      NumberStateName(NumberState::Reserved), attempt.uid, attempt.pc,
                      attempt.station, now, now});
    });
    return sequence;
}

void LineStore::SetState(const QString& serial, NumberState state) {
    store_.Transaction([&] {
        Run(store_.Db(),
            QStringLiteral("UPDATE line_numbers SET state = ?, changed_at = ? WHERE serial = ?"),
            {NumberStateName(state), Now(), serial});
    });
}

std::optional<NumberState> LineStore::StateOf(const QString& serial) const {
    QSqlQuery query = Run(
        store_.Db(), QStringLiteral("SELECT state FROM line_numbers WHERE serial = ?"), {serial});
    if (!query.next())
        return std::nullopt;
    return NumberStateNamed(query.value(0).toString());
}

bool LineStore::Record(const LineAttempt& a) {
    bool recorded = false;
    store_.Transaction([&] {
        const QSqlDatabase db = store_.Db();
        const QSqlQuery inserted = Run(
            db,
            QStringLiteral("INSERT INTO line_attempts (uid, at, day, pc, station, operator, "
                           "serial, made, reference, sha256, good, reason, differed, duration_ms, "
                           "attempt, number_taken, label, label_check, label_reprints) VALUES "
                           "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
                           "ON CONFLICT (uid) DO NOTHING"),
            {a.uid, StoreTime(a.time), a.time.toLocalTime().date().toString(Qt::ISODate), a.pc,
             a.station, a.operatorName, a.serial, a.made, a.referenceName, a.referenceSha256,
             a.good ? 1 : 0, a.reason, a.differed, a.durationMs, a.attempt, a.numberTaken, a.label,
             a.labelCheck, a.labelReprints});
        recorded = inserted.numRowsAffected() == 1;
        if (!recorded) {
            // The attempt again, after its label was scanned or printed anew.
            Run(db,
                QStringLiteral("UPDATE line_attempts SET label = ?, label_check = ?, "
                               "label_reprints = ? WHERE uid = ?"),
                {a.label, a.labelCheck, a.labelReprints, a.uid});
            return;
        }
        const QString now = Now();
        if (!a.numberTaken.isEmpty())
            Run(db,
                QStringLiteral(
                    "UPDATE line_numbers SET state = ?, changed_at = ? WHERE serial = ?"),
                {NumberStateName(a.good && a.serial == a.numberTaken ? NumberState::Confirmed
                                                                     : NumberState::Abandoned),
                 now, a.numberTaken});
        else if (a.good && !a.serial.isEmpty()) // a unit that passed when tried again
            Run(db,
                QStringLiteral(
                    "UPDATE line_numbers SET state = ?, changed_at = ? WHERE serial = ?"),
                {NumberStateName(NumberState::Confirmed), now, a.serial});
        const int first = a.attempt == 1 ? 1 : 0;
        const int good = a.good ? 1 : 0;
        Run(db,
            QStringLiteral("INSERT INTO line_days (day, pc, station, attempts, good, "
                           "first_attempts, first_good) VALUES (?, ?, ?, 1, ?, ?, ?) "
                           "ON CONFLICT (day, pc, station) DO UPDATE SET "
                           "attempts = line_days.attempts + 1, "
                           "good = line_days.good + excluded.good, "
                           "first_attempts = line_days.first_attempts + excluded.first_attempts, "
                           "first_good = line_days.first_good + excluded.first_good"),
            {a.time.toLocalTime().date().toString(Qt::ISODate), a.pc, a.station, good, first,
             first * good});
    });
    return recorded;
}

bool LineStore::Relabel(const LineAttempt& a) {
    bool found = false;
    store_.Transaction([&] {
        const QSqlDatabase db = store_.Db();
        QSqlQuery last = Run(db,
                             QStringLiteral("SELECT uid FROM line_attempts WHERE serial = ? AND "
                                            "good = 1 ORDER BY at DESC LIMIT 1"),
                             {a.serial});
        if (!last.next())
            return;
        Run(db,
            QStringLiteral("UPDATE line_attempts SET label = ?, label_check = ?, "
                           "label_reprints = ? WHERE uid = ?"),
            {a.label, a.labelCheck, a.labelReprints, last.value(0)});
        found = true;
    });
    return found;
}

int LineStore::AttemptsOf(const QString& serial) const {
    QSqlQuery query =
        Run(store_.Db(), QStringLiteral("SELECT COUNT(*) FROM line_attempts WHERE serial = ?"),
            {serial});
    return query.next() ? query.value(0).toInt() : 0;
}

std::vector<LineAttempt> LineStore::Attempts(const QDateTime& from, const QDateTime& to) const {
    QSqlQuery query = Run(
        store_.Db(),
        QStringLiteral("SELECT uid, at, pc, station, operator, serial, made, reference, sha256, "
                       "good, reason, differed, duration_ms, attempt, number_taken, label, "
                       "label_check, label_reprints FROM "
                       "line_attempts WHERE at >= ? AND at < ? ORDER BY at, pc, station"),
        {StoreTime(from), StoreTime(to)});
    std::vector<LineAttempt> attempts;
    while (query.next()) {
        LineAttempt a;
        a.uid = query.value(0).toString();
        a.time = QDateTime::fromString(query.value(1).toString(), Qt::ISODateWithMs).toLocalTime();
        a.pc = query.value(2).toString();
        a.station = query.value(3).toInt();
        a.operatorName = query.value(4).toString();
        a.serial = query.value(5).toString();
        a.made = query.value(6).toString();
        a.referenceName = query.value(7).toString();
        a.referenceSha256 = query.value(8).toString();
        a.good = query.value(9).toInt() != 0;
        a.reason = query.value(10).toString();
        a.differed = query.value(11).toString();
        a.durationMs = query.value(12).toLongLong();
        a.attempt = query.value(13).toInt();
        a.numberTaken = query.value(14).toString();
        a.label = query.value(15).toString();
        a.labelCheck = query.value(16).toString();
        a.labelReprints = query.value(17).toInt();
        attempts.push_back(a);
    }
    return attempts;
}
