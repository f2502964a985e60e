// The production line against emulated fixtures: scripted controllers that come and go on
// four stations at once, and the faults that end one unit.

#include "ChangeJournal.h"
#include "ControllerSequence.h"
#include "Cp1251.h"
#include "CsvLine.h"
#include "LineDaySheet.h"
#include "ProductionLine.h"
#include "ProductionLog.h"
#include "ProtocolRecord.h"
#include "SampleWords.h"
#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int Minute = 60'000;
const QString Operator = QStringLiteral("=Иванов");
// Word 93 as every emulated controller starts with it.
const uint16_t Unstored = q5emu::ControllerState().read(q5emu::Space::Param, 93, 0);

struct Result {
    bool good;
    QString reason; // its start
};

class TestLine : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString Path(const QString& name) const { return dir_.filePath(name); }

    LineJob Job() {
        SettingsRecords::Entries entries{};
        const SettingsRecords::Words sample = SampleControllerWords();
        for (size_t i = 0; i < entries.size(); ++i)
            entries[i].word = static_cast<uint16_t>(sample[i] + (i % 7 == 0 ? 1 : 0));
        entries[47 - SettingsRecords::FirstAddress].word = 503;
        entries[93 - SettingsRecords::FirstAddress].word = static_cast<uint16_t>(Unstored + 1);
        SettingsFile::Write(Path(QStringLiteral("reference.q5t")), entries);
        LineJob job;
        job.reference = ReferenceFile::Load(Path(QStringLiteral("reference.q5t")));
        job.operatorName = Operator;
        job.logPath = Path(QStringLiteral("Protocol.lst"));
        job.logWait = std::chrono::milliseconds(300);
        BeginLog(job.logPath);
        return job;
    }

    // The line's window begins a log before the line starts; the stations never do.
    static void BeginLog(const QString& path) { ProductionLog::CreateIfMissing(path, "01.01.01"); }

    std::unique_ptr<q5emu::ControllerSequence> Fixture(const char* script, int station,
                                                       q5emu::SequenceTiming timing = {},
                                                       q5emu::EmulatorOptions options = {}) {
        auto fixture = std::make_unique<q5emu::ControllerSequence>(
            options, *q5emu::ParseSequence(script), timing);
        fixture->setZeroHead(true);
        fixture->linkAt(Path(QStringLiteral("station%1").arg(station)).toStdString());
        fixture->start();
        return fixture;
    }

    // The operator pulls each unit once its station's tile shows it done, however long the
    // station paused on the way (a slow disk's sync mid-unit is no pull).
    void PullWhenDone(ProductionLine& line, std::vector<q5emu::ControllerSequence*> byStation) {
        auto shown = std::make_shared<std::vector<StationPhase>>(byStation.size());
        connect(&line, &ProductionLine::stationChanged, this,
                [byStation, shown](const StationView& view) {
                    const size_t index = size_t(view.station - 1);
                    const bool done =
                        view.phase == StationPhase::Good || view.phase == StationPhase::Bad;
                    if (done && (*shown)[index] == StationPhase::Working)
                        byStation[index]->pull();
                    (*shown)[index] = view.phase;
                });
    }

    static QList<QStringList> Rows(ProductionLine& line) {
        return LineReport::Read(line.Report().PathFor(QDate::currentDate()));
    }

private slots:
    void aBatchOnFourStations() {
        const std::vector<const char*> scripts = {"new,numbered,new", "new,silent=10,new",
                                                  "identity=502,new,nostore=93",
                                                  "new,pulled=20,new"};
        const std::vector<std::vector<Result>> expected = {
            {{true, ""}, {true, ""}, {true, ""}},
            {{true, ""}, {false, "прервано: прибор не отвечает"}, {true, ""}},
            {{false, "не Tarvik-Q5"}, {true, ""}, {false, "не сохранены слова: 93"}},
            {{true, ""}, {false, "прервано: порт отключён"}, {true, ""}}};
        std::vector<std::unique_ptr<q5emu::ControllerSequence>> fixtures;
        QStringList devices;
        for (size_t i = 0; i < scripts.size(); ++i) {
            fixtures.push_back(Fixture(scripts[i], static_cast<int>(i) + 1));
            devices << Path(QStringLiteral("station%1").arg(i + 1));
        }
        ProductionLine line(Path(QStringLiteral("data")));
        std::vector<q5emu::ControllerSequence*> byStation;
        for (const auto& fixture : fixtures)
            byStation.push_back(fixture.get());
        PullWhenDone(line, byStation);
        QSignalSpy views(&line, &ProductionLine::stationChanged);
        line.Start(Job(), devices);
        QTRY_VERIFY_WITH_TIMEOUT(Rows(line).size() == 12, 2 * Minute);
        line.Stop();
        QTRY_VERIFY_WITH_TIMEOUT(!line.Running(), Minute);

        const QList<QStringList> rows = Rows(line);
        std::set<QString> numbers;
        for (size_t station = 0; station < expected.size(); ++station) {
            int unit = 0;
            for (const QStringList& row : rows) {
                if (row[1] != QString::number(station + 1))
                    continue;
                const Result& want = expected[station].at(static_cast<size_t>(unit++));
                QCOMPARE(row[7], LineReport::ResultText(want.good));
                QVERIFY2(want.reason.isEmpty() ? row[8].isEmpty() : row[8].startsWith(want.reason),
                         qPrintable(row.join(u'|')));
                QCOMPARE(row[2], Operator);
                if (want.good)
                    numbers.insert(row[3]);
                // Told by the word's caption; its values show alike, so its words follow.
                if (row[8].contains(QStringLiteral("93")))
                    QCOMPARE(row[9],
                             QStringLiteral("Датчик давления газа: записано есть, прочитано "
                                            "есть (слова %1 / %2)")
                                 .arg(Unstored + 1)
                                 .arg(Unstored));
            }
            QCOMPARE(unit, 3);
        }
        QCOMPARE(line.Counts().GoodInAll(), 8);
        // A unit's result stays on show until the next unit starts, also after its pull.
        std::map<int, StationPhase> shown;
        for (const QList<QVariant>& signal : views) {
            const StationView view = signal[0].value<StationView>();
            const StationPhase before = shown[view.station];
            QVERIFY((before != StationPhase::Good && before != StationPhase::Bad) ||
                    view.phase != StationPhase::Waiting);
            shown[view.station] = view.phase;
        }
        // Seven new controllers were numbered 00114..00120, each number once.
        std::set<QString> given;
        for (const QString& serial : numbers)
            if (!serial.endsWith(QStringLiteral("00200")) && serial.mid(19, 3) == "001")
                given.insert(serial.mid(19));
        QCOMPARE(given, (std::set<QString>{"00114", "00115", "00116", "00117", "00118", "00119",
                                           "00120"}));
        QFile report(line.Report().PathFor(QDate::currentDate()));
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QByteArray bytes = report.readAll();
        QVERIFY(bytes.startsWith(CsvLine::ByteOrderMark));
        QVERIFY(bytes.contains("'=" + QStringLiteral("Иванов").toUtf8()));
    }

    // A reference file changed after the start stops the line before the unit is touched.
    void aChangedReferenceStopsTheLine() {
        auto fixture = Fixture("numbered", 5);
        ProductionLine line(Path(QStringLiteral("data-changed")));
        const LineJob job = Job();
        QFile file(job.reference.path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("x");
        file.close();
        QSignalSpy halted(&line, &ProductionLine::halted);
        line.Start(job, {Path(QStringLiteral("station5"))});
        QVERIFY(halted.wait(Minute));
        QTRY_VERIFY_WITH_TIMEOUT(!line.Running(), Minute);
        QVERIFY(Rows(line).isEmpty());
        QCOMPARE(fixture->frameLog().back().command, 2);
    }

    // A unit cut off after each write of its numbering, then plugged in again, never passes
    // with the number of the unit before it (01200, which digits written one by one over 00000
    // would reach), and the log tells the cut number from the given ones.
    void aCutNumberingIsNeverAnotherUnits() {
        constexpr int Writes = 24 + 1 + 8; // the last place is written twice
        const QByteArray head =
            QByteArray::fromStdString(q5emu::ControllerSequence::NumberedSerial(0)).left(19);
        LineJob job = Job();
        job.logWait = std::chrono::milliseconds(10'000); // a batch numbers at once
        // A few at a time: a reply that misses its window on a crowded machine is another test.
        constexpr int Batch = 3;
        int cutAgain = 0;
        for (int first = 0; first <= Writes; first += Batch) {
            std::vector<std::unique_ptr<q5emu::ControllerSequence>> fixtures;
            std::vector<std::unique_ptr<ProductionLine>> lines;
            std::vector<std::unique_ptr<QSignalSpy>> views;
            const int last = std::min(first + Batch - 1, Writes);
            for (int cut = first; cut <= last; ++cut) {
                job.logPath = Path(QStringLiteral("cut%1.lst").arg(cut));
                QFile log(job.logPath);
                QVERIFY(log.open(QIODevice::WriteOnly));
                log.write(ProtocolRecord::Make(Cp1251::Encode(ProductionLog::HeaderSerial()), "")
                              .bytes() +
                          ProtocolRecord::Make(head + "01200", "").bytes());
                log.close();
                // Pulled once the station has seen it silent: back with the same digits sooner,
                // it would be taken for the unit not yet unplugged.
                fixtures.push_back(Fixture(("cut=" + std::to_string(cut) + ",again").c_str(),
                                           100 + cut, {std::chrono::seconds(2), {}}));
                lines.push_back(std::make_unique<ProductionLine>(Path(QString::number(cut))));
                views.push_back(std::make_unique<QSignalSpy>(lines.back().get(),
                                                             &ProductionLine::stationChanged));
                lines.back()->Start(job, {Path(QStringLiteral("station%1").arg(100 + cut))});
            }
            for (int cut = first; cut <= last; ++cut) {
                ProductionLine& line = *lines[size_t(cut - first)];
                QTRY_VERIFY_WITH_TIMEOUT(Rows(line).size() == 2, Minute);
                const QList<QStringList> rows = Rows(line);
                // Only a unit whose every write went out holds its number whole.
                const bool whole = cut == Writes;
                // A reply that misses its window on a crowded machine cuts the second numbering
                // too: the unit fails again, never with the number before it.
                if (rows[1][7] == LineReport::ResultText(false) &&
                    rows[1][8].startsWith(QStringLiteral("прервано"))) {
                    QVERIFY(rows[1][3] != Cp1251::Decode(head) + "01200");
                    QVERIFY2(++cutAgain <= 2, qPrintable(QString::number(cut)));
                    continue;
                }
                QVERIFY2(rows[0][7] == LineReport::ResultText(false) && rows[1][7] == "ГОДЕН" &&
                             rows[1][3] == Cp1251::Decode(head) + (whole ? "01201" : "01202"),
                         qPrintable(QString::number(cut) + u' ' + rows[1].join(u'|')));
                // The cut unit's tile shows the number it was given, not the one it held.
                const auto cutView = std::find_if(
                    views[size_t(cut - first)]->begin(), views[size_t(cut - first)]->end(),
                    [](const QList<QVariant>& signal) {
                        return signal[0].value<StationView>().phase == StationPhase::Bad;
                    });
                QVERIFY(cutView != views[size_t(cut - first)]->end());
                QCOMPARE((*cutView)[0].value<StationView>().serial, Cp1251::Decode(head) + "01201");
                QFile file(Path(QStringLiteral("cut%1.lst").arg(cut)));
                QVERIFY(file.open(QIODevice::ReadOnly));
                const QByteArray log = file.readAll();
                QCOMPARE(log.size(), (whole ? 3 : 4) * ProtocolRecord::Size);
                using State = ProductionLog::NumberState;
                QCOMPARE(ProductionLog::StateOf(ProtocolRecord::FromBytes(log.mid(84))),
                         whole ? State::Numbered : State::Cut);
                QCOMPARE(ProductionLog::StateOf(ProtocolRecord::FromBytes(log.right(42))),
                         State::Numbered);
            }
        }
    }

    // A controller plugged in soon after the last was pulled is a unit of its own.
    void aQuickSwapIsSeen_data() {
        QTest::addColumn<int>("swapMs");
        for (int ms : {100, 200, 500})
            QTest::addRow("%d ms", ms) << ms;
    }

    void aQuickSwapIsSeen() {
        QFETCH(int, swapMs);
        // The long linger only ends the test if the line never gets a unit done.
        auto fixture = Fixture("new,new,new", 20 + swapMs,
                               {std::chrono::seconds(20), std::chrono::milliseconds(swapMs)});
        ProductionLine line(Path(QStringLiteral("data-swap%1").arg(swapMs)));
        PullWhenDone(line, {fixture.get()});
        LineJob job = Job();
        job.logPath = Path(QStringLiteral("swap%1.lst").arg(swapMs));
        BeginLog(job.logPath);
        line.Start(job, {Path(QStringLiteral("station%1").arg(20 + swapMs))});
        QTRY_VERIFY_WITH_TIMEOUT(fixture->finished(), Minute);
        QTRY_VERIFY_WITH_TIMEOUT(Rows(line).size() == 3, Minute);
        std::set<QString> serials;
        for (const QStringList& row : Rows(line)) {
            QVERIFY2(row[7] == LineReport::ResultText(true), qPrintable(row.join(u'|')));
            serials.insert(row[3]);
        }
        QCOMPARE(serials.size(), size_t{3});
    }

    // A reference file that can be read only once (a pipe) loads: its words and its SHA-256
    // are of the same bytes.
    void theReferenceIsReadOnce() {
        const QByteArray pipe = QFile::encodeName(Path(QStringLiteral("reference.pipe")));
        QVERIFY(::mkfifo(pipe.constData(), 0600) == 0);
        const LineJob job = Job();
        QFile file(job.reference.path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        // A reader keeps the pipe open while the bytes are put in and the writer leaves.
        const int keeper = ::open(pipe.constData(), O_RDONLY | O_NONBLOCK);
        const int writer = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK);
        QVERIFY(keeper >= 0 && writer >= 0);
        QCOMPARE(::write(writer, bytes.constData(), static_cast<size_t>(bytes.size())),
                 ssize_t(bytes.size()));
        ::close(writer);
        const ReferenceFile reference = ReferenceFile::Load(QFile::decodeName(pipe));
        ::close(keeper);
        QCOMPARE(reference.sha256, job.reference.sha256);
        QCOMPARE(reference.words, job.reference.words);
    }

    // "Прервать" during a numbering: the tile shows the number the unit was given, which the
    // log says was cut, not the number the unit held.
    void anAbortedNumberingShowsItsNumber() {
        q5emu::EmulatorOptions slow;
        slow.replyDelay = std::chrono::milliseconds(15); // the numbering lasts about 2 s
        auto fixture = Fixture("new", 9, {}, slow);
        const LineJob job = Job();
        ProductionLine line(Path(QStringLiteral("data-aborted")));
        QSignalSpy views(&line, &ProductionLine::stationChanged);
        connect(&line, &ProductionLine::stationChanged, &line, [&line](const StationView& view) {
            if (view.step == QStringLiteral("Нумерация"))
                line.Abort();
        });
        line.Start(job, {Path(QStringLiteral("station9"))});
        QTRY_VERIFY_WITH_TIMEOUT(Rows(line).size() == 1, Minute);
        QFile file(job.logPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const ProtocolRecord given =
            ProtocolRecord::FromBytes(file.readAll().right(ProtocolRecord::Size));
        QCOMPARE(ProductionLog::StateOf(given), ProductionLog::NumberState::Cut);
        QTRY_VERIFY(std::any_of(views.begin(), views.end(), [](const QList<QVariant>& signal) {
            return signal[0].value<StationView>().phase == StationPhase::Bad;
        }));
        const auto bad = std::find_if(views.begin(), views.end(), [](const QList<QVariant>& s) {
            return s[0].value<StationView>().phase == StationPhase::Bad;
        });
        QCOMPARE((*bad)[0].value<StationView>().serial, Cp1251::Decode(given.serial()));
    }

    // A production log that another holds ends the unit unnumbered, and nothing is written.
    void aBusyLogEndsTheUnit() {
        auto fixture = Fixture("new", 6);
        const LineJob job = Job();
        QLockFile held(job.logPath + QStringLiteral(".lock"));
        QVERIFY(held.tryLock(0));
        ProductionLine line(Path(QStringLiteral("data-busy")));
        line.Start(job, {Path(QStringLiteral("station6"))});
        QTRY_VERIFY_WITH_TIMEOUT(Rows(line).size() == 1, Minute);
        line.Abort();
        QVERIFY(Rows(line)[0][8].startsWith(QStringLiteral("номер не выдан")));
        for (const q5emu::LoggedFrame& frame : fixture->frameLog())
            QVERIFY(frame.command != 3);
    }

    // A log gone since the line started is not begun again: the unit gets no number.
    void aMissingLogIsNotBegun() {
        auto fixture = Fixture("new", 8);
        LineJob job = Job();
        job.logPath = Path(QStringLiteral("gone.lst"));
        ProductionLine line(Path(QStringLiteral("data-gone")));
        line.Start(job, {Path(QStringLiteral("station8"))});
        QTRY_VERIFY_WITH_TIMEOUT(Rows(line).size() == 1, Minute);
        line.Abort();
        QVERIFY2(
            Rows(line)[0][8].startsWith(QStringLiteral("номер не выдан: Протокола нумерации ")),
            qPrintable(Rows(line)[0][8]));
        QVERIFY(!QFileInfo::exists(job.logPath));
        for (const q5emu::LoggedFrame& frame : fixture->frameLog())
            QVERIFY(frame.command != 3);
    }

    // Every write of a unit, its number's and the reference's, is in the journal of the serial
    // number it ends with, under the line's operation, each confirmed.
    void aUnitsWritesAreJournaledUnderItsSerial() {
        auto fixture = Fixture("new", 7);
        const QString data = Path(QStringLiteral("data-journal"));
        ProductionLine line(data);
        const LineJob job = Job();
        line.Start(job, {Path(QStringLiteral("station7"))});
        QTRY_VERIFY_WITH_TIMEOUT(Rows(line).size() == 1, Minute);
        line.Abort();
        QTRY_VERIFY_WITH_TIMEOUT(!line.Running(), Minute);
        const QStringList row = Rows(line).at(0);
        QCOMPARE(row[7], LineReport::ResultText(true));

        const QString path = ChangeJournal::PathOf(data, row[3]);
        QCOMPARE(QDir(data + QStringLiteral("/journal")).entryList(QDir::Files).size(), 1);
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        QVERIFY(file.readAll().startsWith(ChangeJournal::HeaderLine()));
        const std::vector<JournalRecord> records = ChangeJournal::Read(path);
        size_t writes = 0;
        std::set<int> addresses;
        for (const q5emu::LoggedFrame& frame : fixture->frameLog())
            writes += frame.command == 3;
        QCOMPARE(records.size(), writes);
        for (const JournalRecord& record : records) {
            QCOMPARE(record.operation, QStringLiteral("Линия"));
            QCOMPARE(record.serial, row[3]);
            QVERIFY(record.confirmed);
            addresses.insert(record.address);
        }
        QCOMPARE(addresses.size(), size_t(99)); // the identity's 32 words, the reference's 67
        for (int i = 0; i < SettingsRecords::Count; ++i) {
            const JournalRecord& record = records[records.size() - SettingsRecords::Count + i];
            QCOMPARE(record.address, SettingsRecords::FirstAddress + i);
            QCOMPARE(record.newWord, job.reference.words[static_cast<size_t>(i)]);
        }
    }

    // The day on paper counts the report's rows per station and in all.
    void aDayOnPaper() {
        const auto row = [](const char* station, bool good, const char* serial) {
            return QStringList{"2026-12-08T10:00:0" + QString(station),
                               station,
                               "",
                               serial,
                               "",
                               "ref.q5t",
                               "",
                               LineReport::ResultText(good),
                               "",
                               "",
                               "1.2"};
        };
        const QString text = Sheets::PlainText(Sheets::LineDaySheet(
            QDate(2026, 12, 8),
            {row("1", true, "A 00114"), row("2", false, "B"), row("1", true, "C")},
            {{}, {}, {}, {}, QStringLiteral("Завод №1"), QStringLiteral("Петров"), {}}, {}));
        for (const char* line : {"1\t2\t0\t2", "2\t0\t1\t1", "Всего\t2\t1\t3",
                                 "10:00:02\t2\tB\tБРАК", "Предприятие: Завод №1\nОператор: Петров"})
            QVERIFY2(text.contains(QString::fromUtf8(line)), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("Мастер")));
    }
};

} // namespace

QTEST_GUILESS_MAIN(TestLine)
#include "TestLine.moc"
