// The history through the whole window, against an emulated controller: the visits its
// connections record, each restore point opened, the history and the due service offered at the
// connection, and a sheet's PDF carrying the car and listed in the visit.

#include "AppFixture.h"
#include "Connection.h"
#include "ControllerHistory.h"
#include "EmulatedPorts.h"
#include "Form1.h"
#include "HistoryMenu.h"
#include "HistoryWindow.h"
#include "Messages.h"
#include "OpenHistory.h"
#include "Protocol.h"
#include "RestorePointsDialog.h"
#include "SheetDialog.h"
#include "SheetMenu.h"
#include "ToolData.h"
#include "VisitRecorder.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

constexpr uint8_t Threshold = 40;

QString Serial() {
    return HistoryStore::SerialKey(CurrentDevice().serial);
}

} // namespace

class TestHistoryWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void threeConnectionsAreThreeVisits();
    void dueServiceIsSaidAtTheConnection();
    void sheetCarriesTheCarAndJoinsTheVisit();

private:
    std::unique_ptr<QTemporaryDir> data_;
    std::unique_ptr<EmulatedPorts> ports_;
    std::unique_ptr<AppFixture> app_;
};

void TestHistoryWindow::init() {
    data_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", data_->path().toUtf8());
    qputenv("XDG_CONFIG_HOME", data_->filePath("config").toUtf8());
    ports_ = std::make_unique<EmulatedPorts>();
    app_ = std::make_unique<AppFixture>();
    SetConfirmPresenter([](const QString&) { return true; });
}

void TestHistoryWindow::cleanup() {
    SetConfirmPresenter({});
    app_.reset();
    ports_.reset();
    data_.reset();
}

void TestHistoryWindow::threeConnectionsAreThreeVisits() {
    TForm1& form = app_->form();
    VisitRecorder& recorder = History::RecorderOf(form);
    const QDate days[] = {QDate(2026, 9, 1), QDate(2026, 10, 15), QDate(2026, 12, 1)};
    // The corner offers the history once there is one, and nothing waits for it.
    const QString offered[] = {"", "История прибора: 1 посещение", "История прибора: 2 посещения"};
    for (int i = 0; i < 3; ++i) {
        const QDateTime at(days[i], QTime(10, 0));
        recorder.SetClock([at] { return at; });
        Connect_to_COM1Click();
        QVERIFY(DeviceConnected());
        QVERIFY(recorder.Settle(5000));
        QTest::qWait(0); // the queued visit is posted after the connection
        QVERIFY(recorder.Settle(5000));
        QTRY_COMPARE(History::CornerShown(form), offered[i]);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(SendCommand(CmdWriteParam, Threshold, static_cast<uint16_t>(20 + i)));
        QTest::qWait(0);
        if (i < 2)
            Close_COMClick();
    }

    HistoryWindow& window = History::WindowOf(form);
    window.ShowController(Serial());
    auto* tree = window.findChild<QTreeWidget*>("HistoryVisits");
    QCOMPARE(tree->topLevelItemCount(), 3);
    for (int v = 0; v < 3; ++v) {
        QTreeWidgetItem* visit = tree->topLevelItem(v);
        QVERIFY(visit->text(0).startsWith(days[2 - v].toString("dd.MM.yyyy")));
        QCOMPARE(visit->childCount(), 2);
        QVERIFY(visit->child(0)->text(0).startsWith("Прочитано при подключении: "));
        QVERIFY2(visit->child(1)->text(0).endsWith("(Изменение значения)"),
                 qPrintable(visit->child(1)->text(0)));
        // Each restore point opens in the restore-points window, chosen there.
        int chosenRow = -2;
        QTimer::singleShot(0, [&chosenRow] {
            if (auto* dialog =
                    qobject_cast<RestorePointsDialog*>(QApplication::activeModalWidget())) {
                chosenRow = dialog->CurrentRow();
                dialog->reject();
            }
        });
        emit tree->itemActivated(visit->child(0), 0);
        QVERIFY(chosenRow >= 0);
    }
}

void TestHistoryWindow::dueServiceIsSaidAtTheConnection() {
    TForm1& form = app_->form();
    Connect_to_COM1Click();
    QVERIFY(DeviceConnected());
    const QString serial = Serial();
    Close_COMClick();
    QVERIFY(History::RecorderOf(form).Settle(5000));
    {
        const OpenedHistory opened = OpenHistory({ToolData::Folder(), {}});
        HistoryStore(*opened.store)
            .SaveService(serial, {QDate::currentDate(), {}, "замена фильтра газа"});
    }
    QCOMPARE(History::CornerShown(form), QString());
    Connect_to_COM1Click();
    QTRY_COMPARE(History::CornerShown(form),
                 "Пора ТО: замена фильтра газа: до " + QDate::currentDate().toString("dd.MM.yyyy"));
    Close_COMClick();
    QCOMPARE(History::CornerShown(form), QString());
}

void TestHistoryWindow::sheetCarriesTheCarAndJoinsTheVisit() {
    TForm1& form = app_->form();
    Connect_to_COM1Click();
    QVERIFY(DeviceConnected());
    QTest::qWait(0);
    QVERIFY(History::RecorderOf(form).Settle(5000));
    const OpenedHistory opened = OpenHistory({ToolData::Folder(), {}});
    HistoryStore store(*opened.store);
    VehicleCard card;
    card.make = "Lada";
    card.model = "Vesta";
    card.plate = "А123ВС 71";
    card.vin = "XTAGFK330MY512345";
    QVERIFY(!store.SaveCard(Serial(), card));

    const QString pdf = data_->filePath("sheet.pdf");
    QVERIFY(MakeControllerSheet(form)->SavePdfTo(pdf));
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    QVERIFY(text.waitForFinished(30000));
    const QString header = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    for (const QString& field : {card.make + ' ' + card.model, card.plate, card.vin})
        QVERIFY2(header.contains(field), qPrintable(field));

    // The PDF is an item of the visit under way; moved away, the visit says so.
    QVERIFY(History::RecorderOf(form).Settle(5000));
    const auto sheetItem = [&]() -> std::optional<VisitItem> {
        const std::vector<VisitEntry> visits =
            ControllerHistory::Of(store, Serial(), ToolData::Folder());
        for (const VisitItem& item : visits.front().items)
            if (item.kind == VisitItem::Kind::Sheet)
                return item;
        return std::nullopt;
    };
    std::optional<VisitItem> item = sheetItem();
    QVERIFY(item);
    QCOMPARE(item->path, pdf);
    QVERIFY(!item->missing);
    QVERIFY(QFile::rename(pdf, data_->filePath("moved.pdf")));
    item = sheetItem();
    QVERIFY(item && item->missing);
    QVERIFY(item->text.endsWith(ControllerHistory::MissingText));
}

QTEST_MAIN(TestHistoryWindow)
#include "TestHistoryWindow.moc"
