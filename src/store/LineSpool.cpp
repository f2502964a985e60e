#include "LineSpool.h"

#include "LineStore.h"
#include "StoreStatement.h"

#include <QJsonDocument>
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

const QString Failure = QStringLiteral("Не удаётся записать в очередь отчётов линии: %1");

} // namespace

LineSpool::LineSpool(const QString& path) : db_(StorePlace::Embedded(path), {&LineSpoolSchema()}) {
    QSqlQuery(db_.Db()).exec(QStringLiteral("PRAGMA synchronous=FULL"));
}

void LineSpool::Put(const LineAttempt& attempt) {
    db_.Transaction([&] {
        StoreStatement(db_.Db(),
                       QStringLiteral("INSERT INTO line_spool (uid, attempt) VALUES (?, ?) "
                                      "ON CONFLICT (uid) DO UPDATE SET attempt = excluded.attempt"),
                       Failure)
            .Run(
                {attempt.uid, QString::fromUtf8(
                                  QJsonDocument(attempt.ToJson()).toJson(QJsonDocument::Compact))});
    });
}

std::vector<LineAttempt> LineSpool::Pending() const {
    std::vector<LineAttempt> pending;
    StoreStatement statement(db_.Db(), QStringLiteral("SELECT attempt FROM line_spool ORDER BY id"),
                             Failure);
    QSqlQuery& query = statement.Run();
    while (query.next())
        pending.push_back(LineAttempt::FromJson(
            QJsonDocument::fromJson(query.value(0).toString().toUtf8()).object()));
    return pending;
}

int LineSpool::Waiting() const {
    StoreStatement statement(db_.Db(), QStringLiteral("SELECT COUNT(*) FROM line_spool"), Failure);
    QSqlQuery& query = statement.Run();
    return query.next() ? query.value(0).toInt() : 0;
}

int LineSpool::Drain(LineStore& store) {
    int sent = 0;
    for (const LineAttempt& attempt : Pending()) {
        store.Record(attempt); // false for one the store had already
        db_.Transaction([&] {
            StoreStatement(db_.Db(), QStringLiteral("DELETE FROM line_spool WHERE uid = ?"),
                           Failure)
                .Run({attempt.uid});
        });
        ++sent;
    }
    return sent;
}
