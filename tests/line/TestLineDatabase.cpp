// The production line with its store: numbers and attempts in the embedded store by default,
// a unit tried again, and stations that wait for a shared store that went away.

#include "ControllerSequence.h"
#include "CsvLine.h"
#include "LineFigures.h"
#include "LineSchema.h"
#include "LineStore.h"
#include "PostgresCluster.h"
#include "ProductionLine.h"
#include "ProductionLog.h"
#include "ProtocolRecord.h"
#include "SampleWords.h"
#include "SettingsFile.h"
#include "StationStore.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

constexpr int Minute = 60'000;

bool Written(const q5emu::ControllerSequence& fixture) {
    for (const q5emu::LoggedFrame& frame : fixture.frameLog())
        if (frame.command == 3)
            return true;
    return false;
}

} // namespace

class TestLineDatabase : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString Path(const QString& name) const { return dir_.filePath(name); }

    LineJob Job(const QString& name, const StorePlace& place) {
        SettingsRecords::Entries entries{};
        const SettingsRecords::Words sample = SampleControllerWords();
        for (size_t i = 0; i < entries.size(); ++i)
            entries[i].word = sample[i];
        SettingsFile::Write(Path(QStringLiteral("reference.q5t")), entries);
        LineJob job;
        job.reference = ReferenceFile::Load(Path(QStringLiteral("reference.q5t")));
        job.logPath = Path(name + QStringLiteral(".lst"));
        ProductionLog::CreateIfMissing(job.logPath, QStringLiteral("01.01.01"));
        LineStoreUse use;
        use.place = place;
        use.pc = QStringLiteral("ПК-1");
        use.spoolPath = Path(name + QStringLiteral("-spool.sqlite"));
        job.store = use;
        return job;
    }

    std::unique_ptr<q5emu::ControllerSequence> Fixture(const char* script, const QString& device,
                                                       q5emu::SequenceTiming timing = {}) {
        auto fixture = std::make_unique<q5emu::ControllerSequence>(
            q5emu::EmulatorOptions{}, *q5emu::ParseSequence(script), timing);
        fixture->setZeroHead(true);
        fixture->linkAt(Path(device).toStdString());
        fixture->start();
        return fixture;
    }

private slots:
    // Two hours of a shift on two PCs: rates per station, the first-pass yield that leaves
    // the second attempts out, the reasons most frequent first, the operators.
    void theShiftsFigures() {
        const QDateTime start(QDate(2026, 12, 9), QTime(8, 0));
        struct Row {
            const char* pc;
            int station;
            const char* op;
            bool good;
            const char* reason;
            int attempt;
        };
        const Row rows[] = {{"ПК-1", 1, "Иванов", true, "", 1},
                            {"ПК-1", 1, "Иванов", false, "прервано: порт отключён", 1},
                            {"ПК-1", 2, "Иванов", false, "не сохранены слова: 93", 1},
                            {"ПК-2", 1, "Петров", false, "не сохранены слова: 40", 1},
                            {"ПК-2", 1, "Петров", true, "", 2}};
        std::vector<LineAttempt> attempts;
        for (const Row& r : rows) {
            LineAttempt a;
            a.pc = QString::fromUtf8(r.pc);
            a.station = r.station;
            a.operatorName = QString::fromUtf8(r.op);
            a.good = r.good;
            a.reason = QString::fromUtf8(r.reason);
            a.attempt = r.attempt;
            attempts.push_back(a);
        }
        const LineSpan shift = LineSpan::Shift(QTime(8, 0), QTime(20, 0), start.addSecs(7200));
        QCOMPARE(shift.from, start);
        QCOMPARE(LineSpan::Shift(QTime(20, 0), QTime(8, 0), start).from, start.addSecs(-12 * 3600));
        const LineFigures f = LineFigures::Of(attempts, shift, start.addSecs(7200));
        QCOMPARE(f.units, 5);
        QCOMPARE(f.perHour, 2.5);
        QCOMPARE(f.stations.size(), size_t(3));
        QCOMPARE(f.stations[0].perHour, 1.0); // ПК-1, place 1
        QCOMPARE(f.FirstPassYield(), std::optional<double>(0.25));
        QCOMPARE(f.reasons.size(), size_t(2));
        QCOMPARE(f.reasons[0].reason, QStringLiteral("не сохранены слова"));
        QCOMPARE(f.reasons[0].units, 2);
        QCOMPARE(f.operators[1].name, QStringLiteral("Петров"));
        QCOMPARE(f.operators[1].firstAttempts, 1);
        QVERIFY(f.Summary().contains(QStringLiteral("годен с первого раза 25,0 %")));
    }

    // The day as the store exports it: the report's columns, every unit a row, whole.
    void theDaysExportBytes() {
        UnitRecord good;
        good.time = QDateTime(QDate(2026, 12, 9), QTime(10, 15, 30));
        good.station = 3;
        good.operatorName = QStringLiteral("=Петров");
        good.serial = QStringLiteral("Тарвик-Q5 ГБО 2026 00114");
        good.date = QStringLiteral("09.12.26");
        good.referenceName = QStringLiteral("ref.q5t");
        good.referenceSha256 = QStringLiteral("ab12");
        good.good = true;
        good.durationMs = 1234;
        UnitRecord bad = good;
        bad.good = false;
        bad.reason = QStringLiteral("вне пределов: 1,\n2");
        const QString path = Path(QStringLiteral("export/day.csv"));
        QDir().mkpath(Path(QStringLiteral("export")));
        LineReport::Export(path, {good, bad});
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString row = QStringLiteral(
            "2026-12-09T10:15:30,3,'=Петров,Тарвик-Q5 ГБО 2026 00114,09.12.26,ref.q5t,ab12,");
        QCOMPARE(file.readAll(),
                 "\xEF\xBB\xBF" + (CsvLine::Join(LineReport::Columns()) + u'\n' + row +
                                   QStringLiteral("ГОДЕН,,,1.2,,,\n") + row +
                                   QStringLiteral("БРАК,\"вне пределов: 1, 2\",,1.2,,,\n"))
                                      .toUtf8());
    }

    // By default the store is a file of the PC's own; a unit that failed is tried again as
    // its second attempt, with the number it holds.
    void aUnitTriedAgainOnTheEmbeddedStore() {
        const StorePlace place = StorePlace::Embedded(Path(QStringLiteral("store.sqlite")));
        auto fixture =
            Fixture("new,silent=10,again", QStringLiteral("rework"), {std::chrono::seconds(2), {}});
        ProductionLine line(Path(QStringLiteral("data")));
        QSignalSpy units(&line, &ProductionLine::unitFinished);
        QSignalSpy views(&line, &ProductionLine::stationChanged);
        line.Start(Job(QStringLiteral("rework"), place), {Path(QStringLiteral("rework"))});
        QTRY_COMPARE_WITH_TIMEOUT(units.size(), 3, 2 * Minute);
        line.Stop();
        QTRY_VERIFY_WITH_TIMEOUT(!line.Running(), Minute);

        const UnitRecord fresh = units[0][0].value<UnitRecord>();
        const UnitRecord failed = units[1][0].value<UnitRecord>();
        const UnitRecord again = units[2][0].value<UnitRecord>();
        // On a crowded machine a reply may miss its window and a unit fail for it: the
        // numbers and the attempts are what is checked here.
        QVERIFY(fresh.serial.endsWith(QStringLiteral("00114")));
        QCOMPARE(fresh.numberTaken, fresh.serial);
        QVERIFY(!failed.good && failed.numberTaken.isEmpty());
        QVERIFY2(again.serial == failed.serial && again.attempt == 2, qPrintable(again.reason));
        QVERIFY(again.numberTaken.isEmpty());
        QVERIFY(std::any_of(views.begin(), views.end(), [](const QList<QVariant>& signal) {
            return signal[0].value<StationView>().rework;
        }));

        StoreDatabase db(place, {&LineSchema()});
        LineStore store(db);
        QCOMPARE(store.StateOf(fresh.serial),
                 fresh.good ? NumberState::Confirmed : NumberState::Abandoned);
        QCOMPARE(store.AttemptsOf(failed.serial), 2);
        // The production log on the PC that numbered has its record too.
        QFile log(Path(QStringLiteral("rework.lst")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray records = log.readAll();
        QCOMPARE(records.size(), 2 * ProtocolRecord::Size);
        QCOMPARE(ProductionLog::StateOf(ProtocolRecord::FromBytes(records.right(42))),
                 ProductionLog::NumberState::Numbered);
    }

    // A shared store that cannot be reached gives no number: the station says so, writes
    // nothing, and goes on with the same unit once the server is back.
    void theStationWaitsForTheSharedStore() {
        PostgresCluster server;
        QVERIFY2(server.Ok(), qPrintable(server.Failure()));
        QVERIFY(server.Kill());
        // The fixture would take the station's probes while it waits for the unit's end.
        auto fixture = Fixture("new", QStringLiteral("waits"), {std::chrono::seconds(60), {}});
        ProductionLine line(Path(QStringLiteral("data-shared")));
        QSignalSpy units(&line, &ProductionLine::unitFinished);
        QSignalSpy views(&line, &ProductionLine::stationChanged);
        line.Start(Job(QStringLiteral("waits"), server.Place()), {Path(QStringLiteral("waits"))});
        QTRY_VERIFY_WITH_TIMEOUT(
            std::any_of(views.begin(), views.end(),
                        [](const QList<QVariant>& signal) {
                            return signal[0].value<StationView>().step.startsWith(
                                StoreText::Unreachable);
                        }),
            Minute);
        QTest::qWait(1500); // a try or two more
        QVERIFY(!Written(*fixture));
        QVERIFY(units.isEmpty());
        QVERIFY(server.Start());
        QTRY_COMPARE_WITH_TIMEOUT(units.size(), 1, Minute);
        const UnitRecord unit = units[0][0].value<UnitRecord>();
        QVERIFY2(unit.good && unit.serial.endsWith(QStringLiteral("00114")),
                 qPrintable(unit.reason));
        line.Abort();
        QTRY_VERIFY_WITH_TIMEOUT(!line.Running(), Minute);
        StoreDatabase db(server.Place(), {&LineSchema()});
        QCOMPARE(LineStore(db).StateOf(unit.serial), NumberState::Confirmed);
    }
};

QTEST_GUILESS_MAIN(TestLineDatabase)
#include "TestLineDatabase.moc"
