#include "StoreDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// How long a statement waits for another connection's lock before it gives up.
constexpr int BusyTimeoutMs = 5000;

// SQLite's primary result codes that mean the file holds no sound database.
constexpr int SqliteCorrupt = 11;
constexpr int SqliteNotADatabase = 26;

// Unique while the store lives: its connection is removed before its address can be reused.
QString ConnectionNameOf(const StoreDatabase* store) {
    return QStringLiteral("q5-store-%1").arg(quintptr(store), 0, 16);
}

QString PlaceText(const StorePlace& place) {
    if (place.kind == StorePlace::Kind::Embedded)
        return QDir::toNativeSeparators(place.path);
    if (!place.service.isEmpty())
        return place.service;
    return QStringLiteral("%1/%2").arg(place.host, place.database);
}

bool MeansDamaged(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok && ((code & 0xff) == SqliteCorrupt || (code & 0xff) == SqliteNotADatabase);
}

QString DriverText(const QSqlError& error) {
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

[[noreturn]] void ThrowFailed(const QSqlError& error) {
    throw StoreError(StoreError::Kind::Failed,
                     QStringLiteral("Не удалось записать в хранилище: %1").arg(DriverText(error)));
}

void Exec(QSqlDatabase db, const QString& statement) {
    QSqlQuery query(db);
    if (!query.exec(statement))
        ThrowFailed(query.lastError());
}

void OpenEmbedded(QSqlDatabase& db, const StorePlace& place, bool readOnly) {
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs);
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    db.setDatabaseName(place.path);
    if (!db.open())
        throw StoreError(StoreError::Kind::Unreachable,
                         QStringLiteral("Не удаётся открыть хранилище «%1»: %2")
                             .arg(PlaceText(place), DriverText(db.lastError())));
}

// SQLite opens any file lazily; the first read says whether it holds a database at all.
void CheckEmbedded(QSqlDatabase db, const StorePlace& place) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA quick_check"))) {
        const QSqlError error = query.lastError();
        const bool damaged = MeansDamaged(error);
        throw StoreError(damaged ? StoreError::Kind::Damaged : StoreError::Kind::Unreachable,
                         (damaged ? QStringLiteral("Хранилище «%1» повреждено: %2")
                                  : QStringLiteral("Не удаётся открыть хранилище «%1»: %2"))
                             .arg(PlaceText(place), DriverText(error)));
    }
    if (query.next() && query.value(0).toString() != QLatin1String("ok"))
        throw StoreError(StoreError::Kind::Damaged,
                         QStringLiteral("Хранилище «%1» повреждено: %2")
                             .arg(PlaceText(place), query.value(0).toString()));
}

void OpenShared(QSqlDatabase& db, const StorePlace& place) {
    QStringList options;
    if (!place.service.isEmpty())
        options << QStringLiteral("service=%1").arg(place.service);
    options << QStringLiteral("connect_timeout=5");
    db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!place.host.isEmpty())
        db.setHostName(place.host);
    db.setPort(place.port);
    if (!place.database.isEmpty())
        db.setDatabaseName(place.database);
    if (!place.user.isEmpty())
        db.setUserName(place.user);
    if (!db.open())
        throw StoreError(StoreError::Kind::Unreachable,
                         QStringLiteral("Не удаётся соединиться с базой «%1»: %2")
                             .arg(PlaceText(place), DriverText(db.lastError())));
}

bool HasVersionTable(QSqlDatabase db) {
    return db.tables().contains(QStringLiteral("schema_versions"));
}

int StoredVersion(QSqlDatabase db, const QString& schema) {
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT version FROM schema_versions WHERE schema = ?"));
    query.addBindValue(schema);
    if (!query.exec())
        ThrowFailed(query.lastError());
    return query.next() ? query.value(0).toInt() : 0;
}

} // namespace

StorePlace StorePlace::Embedded(const QString& path) {
    StorePlace place;
    place.kind = Kind::Embedded;
    place.path = path;
    return place;
}

StoreError::StoreError(Kind kind, const QString& text)
    : std::runtime_error(text.toStdString()), kind_(kind), text_(text) {}

StoreDatabase::StoreDatabase(const StorePlace& place, const std::vector<const Schema*>& schemas)
    : place_(place), connectionName_(ConnectionNameOf(this)) {
    const bool embedded = place.kind == StorePlace::Kind::Embedded;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(
            embedded ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), connectionName_);
        try {
            if (!db.isValid())
                throw StoreError(
                    StoreError::Kind::Unreachable,
                    QStringLiteral("Нет драйвера базы данных: %1").arg(DriverText(db.lastError())));
            if (embedded) {
                const QString folder = QFileInfo(place.path).absolutePath();
                if (!QDir().mkpath(folder))
                    throw StoreError(StoreError::Kind::Unreachable,
                                     QStringLiteral("Не удаётся создать папку «%1».")
                                         .arg(QDir::toNativeSeparators(folder)));
                OpenEmbedded(db, place, false);
                CheckEmbedded(db, place);
            } else {
                OpenShared(db, place);
            }
            for (const Schema* schema : schemas) {
                const int stored = HasVersionTable(db) ? StoredVersion(db, schema->name) : 0;
                if (stored > schema->Latest()) {
                    readOnlyReason_ =
                        QStringLiteral("Хранилище «%1» записано более новой версией программы "
                                       "(«%2», версия %3; эта знает версию %4). Оно открыто "
                                       "только для чтения и не изменится.")
                            .arg(PlaceText(place), schema->name)
                            .arg(stored)
                            .arg(schema->Latest());
                    break;
                }
            }
            if (ReadOnly()) {
                if (embedded) { // reopened so that not even SQLite's own upkeep writes to it
                    db.close();
                    OpenEmbedded(db, place, true);
                }
            } else {
                if (embedded) {
                    Exec(db, QStringLiteral("PRAGMA journal_mode=WAL"));
                    Exec(db, QStringLiteral("PRAGMA foreign_keys=ON"));
                }
                Exec(db, QStringLiteral("CREATE TABLE IF NOT EXISTS schema_versions ("
                                        "schema VARCHAR(64) PRIMARY KEY, "
                                        "version INTEGER NOT NULL)"));
            }
        } catch (...) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connectionName_);
            throw;
        }
    }
    if (ReadOnly())
        return;
    try {
        for (const Schema* schema : schemas) {
            for (const SchemaStep& step : schema->steps) {
                if (step.version <= VersionOf(schema->name))
                    continue;
                Transaction([&] {
                    QSqlDatabase db = Db();
                    // Another PC may migrate the same shared database at the same moment.
                    if (IsShared())
                        Exec(db, QStringLiteral("SELECT pg_advisory_xact_lock(5305)"));
                    else // the write lock first: a read first could not become a write later
                        Exec(db, QStringLiteral("UPDATE schema_versions SET version = version "
                                                "WHERE 1 = 0"));
                    if (step.version <= StoredVersion(db, schema->name))
                        return;
                    const QStringList& statements =
                        IsShared() && !step.postgres.isEmpty() ? step.postgres : step.statements;
                    for (const QString& statement : statements)
                        Exec(db, statement);
                    QSqlQuery record(db);
                    record.prepare(QStringLiteral("DELETE FROM schema_versions WHERE schema = ?"));
                    record.addBindValue(schema->name);
                    if (!record.exec())
                        ThrowFailed(record.lastError());
                    record.prepare(QStringLiteral(
                        "INSERT INTO schema_versions (schema, version) VALUES (?, ?)"));
                    record.addBindValue(schema->name);
                    record.addBindValue(step.version);
                    if (!record.exec())
                        ThrowFailed(record.lastError());
                });
            }
        }
    } catch (...) {
        QSqlDatabase::database(connectionName_, false).close();
        QSqlDatabase::removeDatabase(connectionName_);
        throw;
    }
}

StoreDatabase::~StoreDatabase() {
    QSqlDatabase::database(connectionName_, false).close();
    QSqlDatabase::removeDatabase(connectionName_);
}

QSqlDatabase StoreDatabase::Db() const {
    return QSqlDatabase::database(connectionName_, false);
}

int StoreDatabase::VersionOf(const QString& schema) const {
    const QSqlDatabase db = Db();
    return HasVersionTable(db) ? StoredVersion(db, schema) : 0;
}

void StoreDatabase::Transaction(const std::function<void()>& work) {
    if (ReadOnly())
        throw StoreError(StoreError::Kind::Failed, readOnlyReason_);
    QSqlDatabase db = Db();
    if (!db.transaction())
        throw StoreError(StoreError::Kind::Unreachable,
                         QStringLiteral("Не удаётся начать запись в хранилище: %1")
                             .arg(DriverText(db.lastError())));
    try {
        work();
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit()) {
        const QSqlError error = db.lastError();
        db.rollback();
        ThrowFailed(error);
    }
}

QVariant StoreDatabase::Bound(const QVariant& value) {
    if (value.typeId() == QMetaType::QString && value.toString().isNull())
        return QStringLiteral("");
    return value;
}

QString StoreDatabase::SetAside(const QString& path) {
    const QFileInfo info(path);
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QString aside;
    for (int n = 1;; ++n) {
        const QString tail = n == 1 ? QString() : QStringLiteral(" %1").arg(n);
        aside = info.dir().filePath(QStringLiteral("%1 (повреждено %2%3)%4")
                                        .arg(info.completeBaseName(), stamp, tail, suffix));
        if (!QFile::exists(aside) && !QFile::exists(aside + QStringLiteral("-wal")))
            break;
    }
    if (!QFile::rename(path, aside))
        return {};
    for (const char* companion : {"-wal", "-shm"}) {
        const QString from = path + QLatin1String(companion);
        if (QFile::exists(from))
            QFile::rename(from, aside + QLatin1String(companion));
    }
    return aside;
}
