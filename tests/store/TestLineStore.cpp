// The line's tables: migrations, numbers that follow their units, the spool, and two PCs
// numbering from one PostgreSQL server, also while it is killed and started again.

#include "LineSchema.h"
#include "LineSpool.h"
#include "LineStore.h"
#include "PostgresCluster.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <map>
#include <memory>
#include <set>

namespace {

const QString Product = QStringLiteral("TQ5-2026-LINE-TEST-");
// What another capability of the tool kept in the store before the line's tables came.
const Schema Earlier{QStringLiteral("notes"),
                     {{1, {QStringLiteral("CREATE TABLE notes (text TEXT)")}, {}}}};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

LineAttempt Attempt(const QString& uid, bool good, int attempt = 1) {
    LineAttempt a;
    a.uid = uid;
    a.time = QDateTime::currentDateTime();
    a.pc = QStringLiteral("ПК-1");
    a.station = 2;
    a.operatorName = QStringLiteral("Иванов");
    a.good = good;
    a.reason = good ? QString() : QStringLiteral("не сохранены слова: 93");
    a.attempt = attempt;
    return a;
}

int Count(StoreDatabase& db, const QString& sql) {
    QSqlQuery query(db.Db());
    return query.exec(sql) && query.next() ? query.value(0).toInt() : -1;
}

} // namespace

class TestLineStore : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<PostgresCluster> server_;

    std::unique_ptr<StoreDatabase> Open(const QString& kind) {
        if (kind == QLatin1String("shared"))
            return std::make_unique<StoreDatabase>(server_->Place(),
                                                   std::vector<const Schema*>{&LineSchema()});
        return std::make_unique<StoreDatabase>(
            StorePlace::Embedded(dir_.filePath(QStringLiteral("store.sqlite"))),
            std::vector<const Schema*>{&LineSchema()});
    }

    // Runs two PCs, each with four stations, taking `units` numbers in all; `whileRunning`
    // is called as each prints its numbers. The lines each printed, by PC.
    std::map<int, QStringList> TwoPcs(int units, const QString& spool,
                                      const std::function<void(int taken)>& whileRunning = {}) {
        std::vector<std::unique_ptr<QProcess>> pcs;
        std::map<int, QStringList> said;
        for (int pc = 0; pc < 2; ++pc) {
            auto process = std::make_unique<QProcess>();
            process->setProgram(QCoreApplication::applicationDirPath() +
                                QStringLiteral("/line_store_worker"));
            process->setArguments({QStringLiteral("numbers"), server_->SocketFolder(),
                                   QString::number(server_->Place().port),
                                   QStringLiteral("ПК-%1").arg(pc + 1), QStringLiteral("4"),
                                   QString::number(units / 2),
                                   dir_.filePath(spool + QString::number(pc))});
            process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process->start();
            pcs.push_back(std::move(process));
        }
        int taken = 0;
        QDeadlineTimer deadline(120'000);
        while (!deadline.hasExpired() && std::any_of(pcs.begin(), pcs.end(), [](const auto& p) {
            return p->state() != QProcess::NotRunning;
        })) {
            for (size_t pc = 0; pc < pcs.size(); ++pc) {
                pcs[pc]->waitForReadyRead(20);
                while (pcs[pc]->canReadLine()) {
                    const QString line = QString::fromUtf8(pcs[pc]->readLine()).trimmed();
                    said[static_cast<int>(pc)] << line;
                    if (line.startsWith(QLatin1String("taken")) && whileRunning)
                        whileRunning(++taken);
                }
            }
        }
        for (size_t pc = 0; pc < pcs.size(); ++pc) {
            pcs[pc]->waitForFinished(1000);
            for (const QByteArray& line : pcs[pc]->readAll().split('\n'))
                if (!line.trimmed().isEmpty())
                    said[static_cast<int>(pc)] << QString::fromUtf8(line.trimmed());
        }
        return said;
    }

    // Every number the PCs printed once, and each in one attempt record of the store.
    void CheckNumbers(const std::map<int, QStringList>& said, int units, bool consecutive) {
        QCOMPARE(said.size(), size_t(2));
        std::set<int> sequences;
        for (const auto& [pc, lines] : said) {
            QVERIFY2(lines.contains(QStringLiteral("spool 0")), qPrintable(lines.join(u'\n')));
            for (const QString& line : lines)
                if (line.startsWith(QLatin1String("taken ")))
                    QVERIFY2(sequences.insert(line.right(5).toInt()).second, qPrintable(line));
        }
        QCOMPARE(static_cast<int>(sequences.size()), units);
        if (consecutive)
            QCOMPARE(*sequences.rbegin() - *sequences.begin(), units - 1);
        const auto db = Open(QStringLiteral("shared"));
        QCOMPARE(Count(*db, QStringLiteral("SELECT COUNT(*) FROM line_attempts")), units);
        QCOMPARE(Count(*db, QStringLiteral("SELECT COUNT(DISTINCT serial) FROM line_attempts")),
                 units);
        QCOMPARE(Count(*db, QStringLiteral("SELECT COUNT(*) FROM line_numbers WHERE state = "
                                           "'confirmed'")),
                 units);
        QCOMPARE(Count(*db, QStringLiteral("SELECT SUM(attempts) FROM line_days")), units);
    }

    void Clear() {
        const auto db = Open(QStringLiteral("shared"));
        db->Transaction([&] {
            for (const char* table :
                 {"line_attempts", "line_numbers", "line_counters", "line_days"})
                QSqlQuery(db->Db()).exec(
                    QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        });
    }

private slots:
    void initTestCase() {
        server_ = std::make_unique<PostgresCluster>();
        QVERIFY2(server_->Ok(), qPrintable(server_->Failure()));
    }

    void cleanupTestCase() { server_.reset(); }

    void migratesAnEmptyStoreAndTheOneBefore() {
        const QString path = dir_.filePath(QStringLiteral("before.sqlite"));
        {
            StoreDatabase before(StorePlace::Embedded(path), {&Earlier});
            before.Transaction([&] {
                QSqlQuery(before.Db()).exec(QStringLiteral("INSERT INTO notes VALUES ('x')"));
            });
        }
        StoreDatabase store(StorePlace::Embedded(path), {&Earlier, &LineSchema()});
        QCOMPARE(store.VersionOf(QStringLiteral("line")), LineSchema().Latest());
        QCOMPARE(store.VersionOf(QStringLiteral("notes")), 1);
        QCOMPARE(Count(store, QStringLiteral("SELECT COUNT(*) FROM notes")), 1);
        QCOMPARE(Count(store, QStringLiteral("SELECT COUNT(*) FROM line_attempts")), 0);
        const auto shared = Open(QStringLiteral("shared"));
        QCOMPARE(shared->VersionOf(QStringLiteral("line")), LineSchema().Latest());
    }

    void aNewerLineSchemaIsRefusedUnaltered() {
        const QString path = dir_.filePath(QStringLiteral("newer.sqlite"));
        {
            StoreDatabase store(StorePlace::Embedded(path), {&LineSchema()});
            store.Transaction([&] {
                QSqlQuery(store.Db())
                    .exec(QStringLiteral(
                        "UPDATE schema_versions SET version = 99 WHERE schema = 'line'"));
            });
        }
        const QByteArray bytes = ReadAll(path);
        StoreDatabase store(StorePlace::Embedded(path), {&LineSchema()});
        QVERIFY(store.ReadOnly());
        QVERIFY(store.ReadOnlyReason().contains(QStringLiteral("версия 99")));
        LineStore line(store);
        QVERIFY_THROWS_EXCEPTION(StoreError, line.Take(Product, 114, Attempt("a", true)));
        QCOMPARE(ReadAll(path), bytes);
    }

    void numbersFollowTheirUnits_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("embedded") << QStringLiteral("embedded");
        QTest::newRow("shared") << QStringLiteral("shared");
    }

    void numbersFollowTheirUnits() {
        QFETCH(QString, kind);
        const auto db = Open(kind);
        LineStore store(*db);
        const QString product = kind.leftJustified(19, u'-');
        // Never below the log's next number, and on from there.
        QCOMPARE(store.Take(product, 114, Attempt("u1", true)), 114);
        QCOMPARE(store.Take(product, 200, Attempt("u2", false)), 200);
        QCOMPARE(store.Take(product, 114, Attempt("u3", false)), 201);
        const QString good = LineStore::SerialOf(product, 114);
        const QString failed = LineStore::SerialOf(product, 200);
        QCOMPARE(store.StateOf(good), NumberState::Reserved);
        store.SetState(good, NumberState::Written);
        QCOMPARE(store.StateOf(good), NumberState::Written);

        LineAttempt first = Attempt(kind + "-a1", true);
        first.serial = first.numberTaken = good;
        first.label = QStringLiteral("напечатана");
        QVERIFY(store.Record(first));
        first.labelCheck = QStringLiteral("проверена");
        QVERIFY(!store.Record(first)); // sent again: kept once, its label's scan taken
        LineAttempt bad = Attempt(kind + "-a2", false);
        bad.serial = bad.numberTaken = failed;
        QVERIFY(store.Record(bad));
        QCOMPARE(store.StateOf(good), NumberState::Confirmed);
        QCOMPARE(store.StateOf(failed), NumberState::Abandoned);
        // Plugged in again, it passes with the number it holds.
        QCOMPARE(store.AttemptsOf(failed), 1);
        LineAttempt again = Attempt(kind + "-a3", true, 2);
        again.serial = failed;
        QVERIFY(store.Record(again));
        QCOMPARE(store.AttemptsOf(failed), 2);
        QCOMPARE(store.StateOf(failed), NumberState::Confirmed);
        LineAttempt reprinted; // from a day's report row, which knows no uid
        reprinted.serial = failed;
        reprinted.labelReprints = 1;
        QVERIFY(store.Relabel(reprinted));
        reprinted.serial = product;
        QVERIFY(!store.Relabel(reprinted));
        QCOMPARE(Count(*db, QStringLiteral("SELECT attempts * 1000 + good * 100 + "
                                           "first_attempts * 10 + first_good FROM line_days")),
                 3221);
        const std::vector<LineAttempt> day = store.Attempts(
            QDateTime::currentDateTime().addSecs(-60), QDateTime::currentDateTime().addSecs(60));
        QCOMPARE(day.size(), size_t(3));
        QCOMPARE(day[1].pc, QStringLiteral("ПК-1"));
        QCOMPARE(day[1].reason, bad.reason);
        QCOMPARE(day[0].label + day[0].labelCheck, QStringLiteral("напечатанапроверена"));
        QCOMPARE(day[1].labelReprints + 10 * day[2].labelReprints, 10);
    }

    void theSpoolSendsInOrderExactlyOnce() {
        LineSpool spool(dir_.filePath(QStringLiteral("spool.sqlite")));
        StoreDatabase db(StorePlace::Embedded(dir_.filePath(QStringLiteral("spooled.sqlite"))),
                         {&LineSchema()});
        LineStore store(db);
        for (int i = 1; i <= 3; ++i) {
            LineAttempt a = Attempt(QStringLiteral("s%1").arg(i), true);
            a.time = QDateTime::currentDateTime().addSecs(i);
            a.serial = QString::number(i);
            spool.Put(a);
        }
        LineAttempt scanned = spool.Pending()[1]; // its label scanned before it was sent
        scanned.labelCheck = QStringLiteral("проверена");
        spool.Put(scanned);
        // The first reached the store before, but the answer to its commit was lost.
        QVERIFY(store.Record(spool.Pending().front()));
        QCOMPARE(spool.Drain(store), 3);
        QCOMPARE(spool.Waiting(), 0);
        QCOMPARE(spool.Drain(store), 0);
        QCOMPARE(Count(db, QStringLiteral("SELECT COUNT(*) FROM line_attempts")), 3);
        QCOMPARE(Count(db, QStringLiteral("SELECT SUM(attempts) FROM line_days")), 3);
        QCOMPARE(
            store.Attempts(QDateTime::currentDateTime(), QDateTime::currentDateTime().addSecs(9))
                .at(1)
                .labelCheck,
            scanned.labelCheck);
    }

    void twoPcsNumber400Units() {
        Clear();
        CheckNumbers(TwoPcs(400, QStringLiteral("spool-a")), 400, true);
    }

    void theServerKilledMidBatch() {
        Clear();
        bool killed = false;
        const auto said = TwoPcs(200, QStringLiteral("spool-b"), [&](int taken) {
            if (killed || taken < 60)
                return;
            killed = true;
            QVERIFY(server_->Kill());
            QThread::msleep(1500);
            QVERIFY(server_->Start());
        });
        QVERIFY(killed);
        // Numbers reserved when the server went may stay unused: none is given twice.
        CheckNumbers(said, 200, false);
    }

    // Two line processes of four emulated stations each, numbering from one store.
    void twoLinesNumberFromOneStore() {
        Clear();
        constexpr int UnitsPerStation = 2;
        std::vector<std::unique_ptr<QProcess>> lines;
        for (int pc = 0; pc < 2; ++pc) {
            lines.push_back(std::make_unique<QProcess>());
            lines.back()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            lines.back()->start(
                QCoreApplication::applicationDirPath() + QStringLiteral("/line_store_worker"),
                {QStringLiteral("line"), server_->SocketFolder(),
                 QString::number(server_->Place().port), QStringLiteral("ПК-%1").arg(pc + 1),
                 dir_.filePath(QStringLiteral("line%1").arg(pc)),
                 QString::number(UnitsPerStation)});
        }
        // A unit may fail on a crowded machine (a reply missing its window): never with a
        // number another unit holds.
        std::set<QString> numbers;
        int good = 0;
        for (auto& line : lines) {
            QVERIFY(line->waitForFinished(180'000));
            const QByteArray output = line->readAll();
            const QList<QByteArray> said = output.trimmed().split('\n');
            for (const QByteArray& unit : said)
                if (unit.startsWith("unit ") && unit.endsWith(" ГОДЕН")) {
                    ++good;
                    QVERIFY(numbers.insert(QString::fromUtf8(unit.split(' ')[1])).second);
                }
        }
        QVERIFY(good > 0);
        // Every number taken once, from 00114 on without a gap.
        const auto db = Open(QStringLiteral("shared"));
        QSqlQuery taken(db->Db());
        QVERIFY(taken.exec(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT serial), "
                                          "MIN(sequence), MAX(sequence) FROM line_numbers")) &&
                taken.next());
        const int count = taken.value(0).toInt();
        QCOMPARE(taken.value(1).toInt(), count);
        QCOMPARE(taken.value(2).toInt(), LineStore::FirstSequence);
        QCOMPARE(taken.value(3).toInt(), LineStore::FirstSequence + count - 1);
        QVERIFY(count >= good);
    }

    void aWrongPasswordOrHostIsTold_data() {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("server");
        QTest::newRow("password") << QString() << "wrong"
                                  << "password authentication failed";
        QTest::newRow("host") << dir_.filePath(QStringLiteral("nowhere")) << QString()
                              << "No such file or directory";
    }

    void aWrongPasswordOrHostIsTold() {
        QFETCH(QString, host);
        QFETCH(QString, password);
        QFETCH(QString, server);
        const QByteArray passFile = qgetenv("PGPASSFILE");
        const QString wrong = dir_.filePath(QStringLiteral("wrong-pgpass"));
        QFile file(wrong);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(("*:*:*:*:" + password + "\n").toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        if (!password.isEmpty())
            qputenv("PGPASSFILE", QFile::encodeName(wrong));
        StorePlace place = server_->Place();
        if (!host.isEmpty())
            place.host = host;
        try {
            StoreDatabase store(place, {&LineSchema()});
            QFAIL("connected");
        } catch (const StoreError& e) {
            QCOMPARE(e.kind(), StoreError::Kind::Unreachable);
            QVERIFY2(e.text().startsWith(QStringLiteral("Не удаётся соединиться с базой")) &&
                         e.text().contains(server),
                     qPrintable(e.text()));
        }
        qputenv("PGPASSFILE", passFile);
    }
};

QTEST_GUILESS_MAIN(TestLineStore)
#include "TestLineStore.moc"
