// Two controllers in one process, each in a session of its own on its own emulator: however
// their writes interleave, each is journaled, named and undone in its own session alone.

#include <EmulatedPorts.h>

#include <ChangeJournal.h>
#include <ControllerLink.h>
#include <ControllerSession.h>
#include <Protocol.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>
#include <set>

namespace {

struct Write {
    int unit;        // 0 or 1
    uint8_t address; // a parameter word
};

struct Unit {
    explicit Unit(const QString& serial, const QString& root) : serial(serial) {
        q5emu::EmulatorOptions options = PromptEmulator();
        options.zeroHead = true;
        emulator = std::make_unique<q5emu::Q5Emulator>(options);
        emulator->start();
        link.Open(QString::fromStdString(emulator->slavePath()), 19200);
        session = std::make_unique<ControllerSession>(link);
        session->Net().BeginAttempt();
        session->Net().Connected(serial, root);
    }

    QString serial;
    std::unique_ptr<q5emu::Q5Emulator> emulator;
    ControllerLink link;
    std::unique_ptr<ControllerSession> session;
};

const QString Load = QStringLiteral("Загрузка из файла");
const QString Restore = QStringLiteral("Восстановление");

} // namespace

Q_DECLARE_METATYPE(std::vector<Write>)

class TestSession : public QObject {
    Q_OBJECT

private slots:
    void writesStayInTheirSession_data();
    void writesStayInTheirSession();
};

void TestSession::writesStayInTheirSession_data() {
    QTest::addColumn<QStringList>("operations"); // of each unit; empty: its writes are steps
    QTest::addColumn<std::vector<Write>>("writes");
    // Words that value fields set: a step on one is "Изменение значения".
    const std::vector<Write> alternating{{0, 40}, {1, 50}, {0, 42}, {1, 86}};
    QTest::newRow("a load on the first, steps on the second")
        << QStringList{Load, {}} << alternating;
    QTest::newRow("steps on the first, a load on the second")
        << QStringList{{}, Load} << alternating;
    QTest::newRow("a load and a restore at once")
        << QStringList{Load, Restore}
        << std::vector<Write>{{1, 50}, {0, 40}, {0, 42}, {1, 86}, {0, 57}};
}

void TestSession::writesStayInTheirSession() {
    QFETCH(QStringList, operations);
    QFETCH(std::vector<Write>, writes);
    QTemporaryDir root;
    Unit units[] = {Unit(QStringLiteral("A-1"), root.path()),
                    Unit(QStringLiteral("B-2"), root.path())};
    std::vector<uint8_t> written[2];
    {
        std::optional<WriteOperation> open[2];
        for (int i = 0; i < 2; ++i)
            if (!operations[i].isEmpty())
                open[i].emplace(units[i].session->Operations(), operations[i],
                                operations[i] + u' ' + units[i].serial,
                                WriteOperation::Undo::Record);
        for (const Write& write : writes) {
            Unit& unit = units[write.unit];
            QVERIFY(unit.link.SendCommand(CmdWriteParam, write.address, 7));
            written[write.unit].push_back(write.address);
        }
        // The second's operation ends first: the first's stays open.
        open[1].reset();
        if (!operations[0].isEmpty())
            QVERIFY(units[0].session->History().Open());
    }
    QTest::qWait(0); // the steps end with their handler

    for (int i = 0; i < 2; ++i) {
        Unit& unit = units[i];
        const QString path = ChangeJournal::PathOf(root.path(), unit.serial);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith(ChangeJournal::HeaderLine()));
        const std::vector<JournalRecord> records = ChangeJournal::Read(path);
        QCOMPARE(records.size(), written[i].size());
        for (size_t n = 0; n < records.size(); ++n) {
            QCOMPARE(records[n].serial, unit.serial);
            QCOMPARE(records[n].address, int(written[i][n]));
            if (operations[i].isEmpty())
                QCOMPARE(records[n].operation, QStringLiteral("Изменение значения"));
            else
                QCOMPARE(records[n].operation, operations[i]);
        }

        const UndoHistory& history = unit.session->History();
        QVERIFY(!history.Open());
        const WriteAction* action = history.NextUndo();
        QVERIFY(action);
        std::vector<uint8_t> undone;
        for (const WrittenWord& word : action->words)
            undone.push_back(word.address);
        QCOMPARE(undone, written[i]);
        if (!operations[i].isEmpty())
            QCOMPARE(action->label, operations[i] + u' ' + unit.serial);
    }
}

QTEST_GUILESS_MAIN(TestSession)
#include "TestSession.moc"
