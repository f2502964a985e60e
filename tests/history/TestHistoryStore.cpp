#include "ControllerHistory.h"
#include "HistorySchema.h"
#include "HistoryStore.h"
#include "OpenHistory.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime Monday(QDate(2026, 12, 7), QTime(9, 0));

VehicleCard IvanovsCar() {
    return {"Lada",
            "2107",
            "2004",
            "1,6 ГБО",
            "А123ВС77",
            "XTA21099043550210",
            "Иванов Пётр",
            "+7 900 000-00-00",
            "баллон под полом"};
}

struct Opened {
    explicit Opened(const QString& folder)
        : opened(OpenHistory({folder, {}})), store(*opened.store) {}
    OpenedHistory opened;
    HistoryStore store;
};

} // namespace

class TestHistoryStore : public QObject {
    Q_OBJECT
private slots:
    void emptyFolderGetsTheLatestSchema();
    void cardAndServiceRoundTrip();
    void refusedVinStoresNothing();
    void search_data();
    void search();
    void ownerDataIsDeleted();
    void dueByDateOrOdometer();
    void visitsAreCountedInWords_data();
    void visitsAreCountedInWords();
};

void TestHistoryStore::emptyFolderGetsTheLatestSchema() {
    QTemporaryDir dir;
    Opened history(dir.filePath("data"));
    QVERIFY(history.opened.message.isEmpty());
    QCOMPARE(history.opened.store->VersionOf("history"), HistorySchema().Latest());
    QVERIFY(history.store.IsEmpty());
}

void TestHistoryStore::cardAndServiceRoundTrip() {
    QTemporaryDir dir;
    const NextService service{QDate(2027, 3, 1), 120000, "замена фильтра газа"};
    {
        Opened history(dir.path());
        QCOMPARE(history.store.SaveCard("Q5-0001", IvanovsCar()), std::nullopt);
        history.store.SaveService("Q5-0001", service);
    }
    Opened history(dir.path());
    const std::optional<KnownController> known = history.store.Controller("Q5-0001");
    QVERIFY(known);
    QCOMPARE(known->card, IvanovsCar());
    QCOMPARE(known->service, service);
    QCOMPARE(known->service.Text(),
             QString("замена фильтра газа: до 01.03.2027 или 120\u00A0000 км"));
}

void TestHistoryStore::refusedVinStoresNothing() {
    QTemporaryDir dir;
    Opened history(dir.path());
    VehicleCard card = IvanovsCar();
    card.vin = "1M8GDM9A1KP042788";
    const std::optional<QString> refusal = history.store.SaveCard("Q5-0001", card);
    QVERIFY(refusal && refusal->contains("Контрольный знак"));
    QCOMPARE(history.store.Controller("Q5-0001"), std::nullopt);
}

void TestHistoryStore::search_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("plate typed in Latin") << "a123" << QStringList{"Q5-0001"};
    QTest::newRow("plate with blanks") << "а 123 вс" << QStringList{"Q5-0001"};
    QTest::newRow("part of a VIN") << "kp0427" << QStringList{"Q5-0002"};
    QTest::newRow("owner, ё as е") << "петр" << QStringList{"Q5-0002", "Q5-0001"};
    QTest::newRow("serial") << "Q5-000" << QStringList{"Q5-0002", "Q5-0001"};
    QTest::newRow("a wildcard is a character") << "%" << QStringList{};
}

void TestHistoryStore::search() {
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    QTemporaryDir dir;
    Opened history(dir.path());
    history.store.SaveCard("Q5-0001", IvanovsCar());
    history.store.SaveCard(
        "Q5-0002", {"Ford", "F-150", "", "", "Е456КХ99", "1M8GDM9AXKP042788", "Петрова", "", ""});
    history.store.RecordVisit({0, "Q5-0002", Monday, {}, {}, {}, {}, {}});
    QStringList serials;
    for (const KnownController& known : history.store.Search(typed))
        serials << known.serial;
    QCOMPARE(serials, found); // the last seen first
}

void TestHistoryStore::ownerDataIsDeleted() {
    QTemporaryDir dir;
    Opened history(dir.path());
    history.store.SaveCard("Q5-0001", IvanovsCar());
    history.store.ClearOwner("Q5-0001");
    VehicleCard expected = IvanovsCar();
    expected.ownerName.clear();
    expected.ownerPhone.clear();
    QCOMPARE(history.store.Controller("Q5-0001")->card, expected);
    QVERIFY(history.store.Search("иванов").empty());
}

void TestHistoryStore::dueByDateOrOdometer() {
    QTemporaryDir dir;
    Opened history(dir.path());
    history.store.SaveService("by-date", {QDate(2026, 12, 7), {}, "замена фильтра газа"});
    history.store.SaveService("later", {QDate(2026, 12, 8), {}, {}});
    history.store.SaveService("by-km", {{}, 120000, {}});
    history.store.RecordVisit({0, "by-km", Monday, {}, {}, 119000, {}, {}});
    const auto dueSerials = [&] {
        QStringList serials;
        for (const KnownController& known : history.store.Due(Monday.date()))
            serials << known.serial;
        serials.sort();
        return serials;
    };
    QCOMPARE(dueSerials(), QStringList{"by-date"});
    history.store.RecordVisit({0, "by-km", Monday.addDays(1), {}, {}, 120500, {}, {}});
    QCOMPARE(dueSerials(), (QStringList{"by-date", "by-km"}));
}

void TestHistoryStore::visitsAreCountedInWords_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << "1 посещение";
    QTest::newRow("3") << 3 << "3 посещения";
    QTest::newRow("5") << 5 << "5 посещений";
    QTest::newRow("11") << 11 << "11 посещений";
    QTest::newRow("22") << 22 << "22 посещения";
    QTest::newRow("101") << 101 << "101 посещение";
    QTest::newRow("112") << 112 << "112 посещений";
}

void TestHistoryStore::visitsAreCountedInWords() {
    QFETCH(int, count);
    QFETCH(QString, text);
    QCOMPARE(ControllerHistory::VisitsText(count), text);
}

int RunHistoryStoreTests(int argc, char** argv) {
    TestHistoryStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestHistoryStore.moc"
