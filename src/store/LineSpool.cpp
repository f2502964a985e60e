#include "LineSpool.h"

#include "LineStore.h"

#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

const Schema& LineSpoolSchema() {
    static const Schema schema{QStringLiteral("line_spool"),
                               {{1,
                                 {QStringLiteral("CREATE TABLE line_spool ("
                                                 "id INTEGER PRIMARY KEY AUTOINCREMENT, "
                                                 "uid VARCHAR(40) NOT NULL UNIQUE, "
                                                 "attempt TEXT NOT NULL)")},
                                 {}}}};
    return schema;
}

namespace {

void Check(QSqlQuery& query, bool done) {
    if (!done)
        throw StoreError(StoreError::Kind::Failed,
                         QStringLiteral("Не удаётся записать в очередь отчётов линии: %1")
                             .arg(query.lastError().text()));
}

} // namespace

LineSpool::LineSpool(const QString& path) : db_(StorePlace::Embedded(path), {&LineSpoolSchema()}) {
    QSqlQuery(db_.Db()).exec(QStringLiteral("PRAGMA synchronous=FULL"));
}

void LineSpool::Put(const LineAttempt& attempt) {
    db_.Transaction([&] {
        QSqlQuery query(db_.Db());
        Check(query, query.prepare(QStringLiteral(
                         "INSERT INTO line_spool (uid, attempt) VALUES (?, ?) "
                         "ON CONFLICT (uid) DO UPDATE SET attempt = excluded.attempt")));
        query.addBindValue(attempt.uid);
        query.addBindValue(
            QString::fromUtf8(QJsonDocument(attempt.ToJson()).toJson(QJsonDocument::Compact)));
        Check(query, query.exec());
    });
}

std::vector<LineAttempt> LineSpool::Pending() const {
    std::vector<LineAttempt> pending;
    QSqlQuery query(db_.Db());
    Check(query, query.exec(QStringLiteral("SELECT attempt FROM line_spool ORDER BY id")));
    while (query.next())
        pending.push_back(LineAttempt::FromJson(
            QJsonDocument::fromJson(query.value(0).toString().toUtf8()).object()));
    return pending;
}

int LineSpool::Waiting() const {
    QSqlQuery query(db_.Db());
    Check(query, query.exec(QStringLiteral("SELECT COUNT(*) FROM line_spool")));
    return query.next() ? query.value(0).toInt() : 0;
}

int LineSpool::Drain(LineStore& store) {
    int sent = 0;
    for (const LineAttempt& attempt : Pending()) {
        store.Record(attempt); // false for one the store had already
        db_.Transaction([&] {
            QSqlQuery query(db_.Db());
            Check(query, query.prepare(QStringLiteral("DELETE FROM line_spool WHERE uid = ?")));
            query.addBindValue(attempt.uid);
            Check(query, query.exec());
        });
        ++sent;
    }
    return sent;
}
