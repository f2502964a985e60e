#pragma once
// One open database of the tool: the embedded SQLite file in the tool's data folder, or a
// PostgreSQL database shared by several PCs, each with its schemas brought to the versions this
// tool knows. Made and used on one thread (a Qt SQL connection belongs to the thread that made it).
//
//     StoreDatabase store(StorePlace::Embedded(path), {&HistorySchema()});
//     store.Transaction([&] { ... QSqlQuery query(store.Db()); ... });

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <stdexcept>
#include <vector>

// Where a store lives.
struct StorePlace {
    enum class Kind {
        Embedded, // a SQLite file (QSQLITE): nothing to set up
        Shared,   // a PostgreSQL database (QPSQL) as libpq connects to it
    };
    Kind kind = Kind::Embedded;
    QString path; // Embedded: the file; its folder is made when missing
    // Shared: libpq's fields; empty ones are left to libpq's defaults. The password is never
    // kept here: libpq finds it in ~/.pgpass or the service file.
    QString host; // a name, an address, or the folder of a Unix socket
    int port = 5432;
    QString database;
    QString user;
    QString service; // a libpq service name, when the setup names one

    static StorePlace Embedded(const QString& path);
};

// One migration of a schema: applied in one transaction, with its version recorded in it.
struct SchemaStep {
    int version;            // 1, 2, … in order
    QStringList statements; // SQL both drivers take
    QStringList postgres;   // when not empty: the statements PostgreSQL runs instead
};

// The tables of one capability; several schemas share one database, each with its own version.
struct Schema {
    QString name; // "history", "line"
    std::vector<SchemaStep> steps;
    int Latest() const { return steps.empty() ? 0 : steps.back().version; }
};

// A store that cannot be opened or used; the text is the tool's, in Russian, with the driver's
// or the server's own message where there is one.
class StoreError : public std::runtime_error {
public:
    enum class Kind {
        Unreachable, // the server or the file cannot be reached: try again later
        Damaged,     // an embedded file that is no sound database
        Failed,      // a statement failed
    };
    StoreError(Kind kind, const QString& text);
    Kind kind() const { return kind_; }
    const QString& text() const { return text_; }

private:
    Kind kind_;
    QString text_;
};

class StoreDatabase {
public:
    // Opens the store and migrates each schema to its Latest(). A schema stored in a newer
    // version than this tool knows leaves the whole store read-only and unaltered. Throws
    // StoreError.
    StoreDatabase(const StorePlace& place, const std::vector<const Schema*>& schemas);
    ~StoreDatabase(); // closes and removes its Qt connection
    StoreDatabase(const StoreDatabase&) = delete;
    StoreDatabase& operator=(const StoreDatabase&) = delete;

    QSqlDatabase Db() const;
    const StorePlace& Place() const { return place_; }
    bool IsShared() const { return place_.kind == StorePlace::Kind::Shared; }

    // True when a schema is newer than this tool: nothing may be written.
    bool ReadOnly() const { return !readOnlyReason_.isEmpty(); }
    const QString& ReadOnlyReason() const { return readOnlyReason_; }
    // The version stored of a schema; 0 when it has none yet.
    int VersionOf(const QString& schema) const;

    // Runs `work` in one transaction: committed when it returns, rolled back when it throws
    // (the exception goes on). Throws StoreError when the store is read-only or the commit fails.
    void Transaction(const std::function<void()>& work);

    // A value as a statement binds it: a text the tool left empty is "" in the store, never NULL.
    static QVariant Bound(const QVariant& value);

    // Moves a damaged embedded file (with its -wal and -shm) aside under a name that says so
    // and when, and returns that name; the next open makes a fresh store.
    static QString SetAside(const QString& path);

private:
    StorePlace place_;
    QString connectionName_;
    QString readOnlyReason_;
};
