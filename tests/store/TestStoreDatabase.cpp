#include "StoreDatabase.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const Schema First{
    QStringLiteral("notes"),
    {{1, {QStringLiteral("CREATE TABLE notes (id INTEGER PRIMARY KEY, text TEXT)")}, {}}}};

Schema Second() {
    Schema schema = First;
    schema.steps.push_back({2, {QStringLiteral("ALTER TABLE notes ADD COLUMN author TEXT")}, {}});
    return schema;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Insert(StoreDatabase& store, const QString& text) {
    store.Transaction([&] {
        QSqlQuery query(store.Db());
        query.prepare(QStringLiteral("INSERT INTO notes (text) VALUES (?)"));
        query.addBindValue(text);
        if (!query.exec())
            throw std::runtime_error("insert");
    });
}

int Count(const StoreDatabase& store) {
    QSqlQuery query(store.Db());
    query.exec(QStringLiteral("SELECT COUNT(*) FROM notes"));
    return query.next() ? query.value(0).toInt() : -1;
}

} // namespace

class TestStoreDatabase : public QObject {
    Q_OBJECT
private slots:
    void migratesAnEmptyStoreMakingItsFolder();
    void migratesFromThePreviousVersion();
    void failedStepLeavesThePreviousVersion();
    void newerStoreIsReadOnlyAndUnaltered();
    void damagedFileIsSetAside();
    void unreachableFolder();
    void transactionRollsBackWhenWorkThrows();
};

void TestStoreDatabase::migratesAnEmptyStoreMakingItsFolder() {
    QTemporaryDir dir;
    const Schema second = Second();
    StoreDatabase store(StorePlace::Embedded(dir.filePath("a/b/store.sqlite")), {&second});
    QVERIFY(!store.ReadOnly());
    QCOMPARE(store.VersionOf("notes"), 2);
    QCOMPARE(store.VersionOf("unknown"), 0);
    QVERIFY(QSqlQuery(store.Db()).exec("SELECT author FROM notes"));
}

void TestStoreDatabase::migratesFromThePreviousVersion() {
    QTemporaryDir dir;
    const QString path = dir.filePath("store.sqlite");
    {
        StoreDatabase store(StorePlace::Embedded(path), {&First});
        QCOMPARE(store.VersionOf("notes"), 1);
        Insert(store, "kept");
    }
    const Schema second = Second();
    StoreDatabase store(StorePlace::Embedded(path), {&second});
    QCOMPARE(store.VersionOf("notes"), 2);
    QSqlQuery query(store.Db());
    QVERIFY(query.exec("SELECT text, author FROM notes"));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QString("kept"));
    QVERIFY(query.value(1).isNull());
}

void TestStoreDatabase::failedStepLeavesThePreviousVersion() {
    QTemporaryDir dir;
    const QString path = dir.filePath("store.sqlite");
    { StoreDatabase store(StorePlace::Embedded(path), {&First}); }
    Schema broken = First;
    broken.steps.push_back({2,
                            {QStringLiteral("CREATE TABLE extra (id INTEGER)"),
                             QStringLiteral("ALTER TABLE nowhere ADD COLUMN x TEXT")},
                            {}});
    try {
        StoreDatabase store(StorePlace::Embedded(path), {&broken});
        QFAIL("a failing step must throw");
    } catch (const StoreError& error) {
        QCOMPARE(error.kind(), StoreError::Kind::Failed);
    }
    StoreDatabase store(StorePlace::Embedded(path), {&First});
    QCOMPARE(store.VersionOf("notes"), 1);
    QVERIFY(!store.Db().tables().contains("extra"));
}

void TestStoreDatabase::newerStoreIsReadOnlyAndUnaltered() {
    QTemporaryDir dir;
    const QString path = dir.filePath("store.sqlite");
    const Schema second = Second();
    {
        StoreDatabase store(StorePlace::Embedded(path), {&second});
        Insert(store, "from a newer tool");
    }
    const QByteArray before = ReadAll(path);
    {
        StoreDatabase store(StorePlace::Embedded(path), {&First});
        QVERIFY(store.ReadOnly());
        QVERIFY(store.ReadOnlyReason().contains("только для чтения"));
        QCOMPARE(store.VersionOf("notes"), 2);
        QCOMPARE(Count(store), 1);
        QVERIFY_THROWS_EXCEPTION(StoreError, Insert(store, "refused"));
    }
    QCOMPARE(ReadAll(path), before);
}

void TestStoreDatabase::damagedFileIsSetAside() {
    QTemporaryDir dir;
    const QString path = dir.filePath("store.sqlite");
    const QByteArray garbage = QByteArray("not a database at all ").repeated(200);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    try {
        StoreDatabase store(StorePlace::Embedded(path), {&First});
        QFAIL("a damaged file must throw");
    } catch (const StoreError& error) {
        QCOMPARE(error.kind(), StoreError::Kind::Damaged);
        QVERIFY(error.text().contains("повреждено"));
    }
    const QString aside = StoreDatabase::SetAside(path);
    QVERIFY(!aside.isEmpty());
    QVERIFY(!QFile::exists(path));
    QCOMPARE(ReadAll(aside), garbage);
    QVERIFY(QFileInfo(aside).fileName().startsWith("store (повреждено "));
    StoreDatabase fresh(StorePlace::Embedded(path), {&First});
    QCOMPARE(fresh.VersionOf("notes"), 1);
}

void TestStoreDatabase::unreachableFolder() {
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        StoreDatabase store(StorePlace::Embedded(dir.filePath("file/store.sqlite")), {&First});
        QFAIL("a folder under a file must throw");
    } catch (const StoreError& error) {
        QCOMPARE(error.kind(), StoreError::Kind::Unreachable);
    }
}

void TestStoreDatabase::transactionRollsBackWhenWorkThrows() {
    QTemporaryDir dir;
    StoreDatabase store(StorePlace::Embedded(dir.filePath("one.sqlite")), {&First});
    StoreDatabase other(StorePlace::Embedded(dir.filePath("two.sqlite")), {&First});
    Insert(store, "one");
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, store.Transaction([&] {
        QSqlQuery(store.Db()).exec("INSERT INTO notes (text) VALUES ('gone')");
        throw std::runtime_error("work failed");
    }));
    QCOMPARE(Count(store), 1);
    QCOMPARE(Count(other), 0);
}

QTEST_GUILESS_MAIN(TestStoreDatabase)
#include "TestStoreDatabase.moc"
