// The safety net through the whole window: restore points at connection, the change journal
// and undo, against an emulated controller on a pseudo-terminal.

#include "AppFixture.h"
#include "ChangeJournal.h"
#include "Connection.h"
#include "EmulatedPorts.h"
#include "FileFun.h"
#include "Form1.h"
#include "IdentityWords.h"
#include "Messages.h"
#include "RestorePoints.h"
#include "SettingsFile.h"
#include "SettingsRecords.h"
#include "TSpinButton.h"
#include "TSpinExtEdit.h"
#include "TestDiskSync.h"
#include "ToolData.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr uint8_t SlopeCorrection = 91;
constexpr uint8_t Cylinders = 71;

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QAction* Action(TForm1& form, const char* name) {
    return form.findChild<QAction*>(QString::fromLatin1(name));
}

SettingsRecords::Words ControllerWords(q5emu::Q5Emulator& controller) {
    SettingsRecords::Words words{};
    for (int i = 0; i < SettingsRecords::Count; ++i)
        words[static_cast<std::size_t>(i)] =
            controller.param(static_cast<uint8_t>(SettingsRecords::FirstAddress + i));
    return words;
}

} // namespace

class TestSafetyNet : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void restorePointHoldsFirstReads_data();
    void restorePointHoldsFirstReads();
    void unchangedBlockAddsNoPoint();
    void identityIsReadAgainOrItsPointKeptUnderTheBlock_data();
    void identityIsReadAgainOrItsPointKeptUnderTheBlock();
    void wordNotReadIsAskedAgainThenMarked_data();
    void wordNotReadIsAskedAgainThenMarked();
    void loadIsJournalledAndUndone();
    void stepIsJournalledUndoneAndRedone();
    void unwritableFolderIsToldOnce();
    void journalOffTheDiskHoldsTheNextStep();

private:
    QString pointsDirectory() const;
    std::unique_ptr<QTemporaryDir> data_;
    std::unique_ptr<EmulatedPorts> ports_;
    std::unique_ptr<AppFixture> app_;
    std::unique_ptr<TestDiskSync> disk_; // outlives the window's last sync
};

void TestSafetyNet::init() {
    data_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", data_->path().toUtf8());
    qputenv("XDG_CONFIG_HOME", data_->filePath("config").toUtf8());
    ports_ = std::make_unique<EmulatedPorts>();
    app_ = std::make_unique<AppFixture>();
    SetConfirmPresenter([](const QString&) { return true; });
}

void TestSafetyNet::cleanup() {
    SetConfirmPresenter({});
    app_.reset();
    ports_.reset();
    data_.reset();
    disk_.reset();
}

QString TestSafetyNet::pointsDirectory() const {
    return RestorePoints::DirectoryOf(ToolData::Folder(),
                                      ToolData::ControllerFileName(CurrentDevice()).value());
}

void TestSafetyNet::restorePointHoldsFirstReads_data() {
    QTest::addColumn<int>("slopeWord");
    QTest::addColumn<int>("writtenBack");
    QTest::newRow("nothing changed by the write-back") << 1 << 1;
    QTest::newRow("write-back changes the word") << 7 << 1;
}

void TestSafetyNet::restorePointHoldsFirstReads() {
    QFETCH(int, slopeWord);
    QFETCH(int, writtenBack);
    q5emu::Q5Emulator& controller = ports_->emulator();
    controller.setParam(SlopeCorrection, static_cast<uint16_t>(slopeWord));
    Connect_to_COM1Click();
    QVERIFY(DeviceConnected());
    QCOMPARE(controller.param(SlopeCorrection), writtenBack);

    const std::vector<RestorePoint> points = RestorePoints::List(
        ToolData::Folder(), ToolData::ControllerFileName(CurrentDevice()).value());
    QCOMPARE(points.size(), std::size_t{1});
    const QString saved = QDir(data_->path()).filePath("saved.q5t");
    SaveSettings(saved);
    QByteArray expected = Bytes(saved);
    const int record =
        (SlopeCorrection - SettingsRecords::FirstAddress) * SettingsRecords::RecordSize;
    if (slopeWord != writtenBack) {
        // The point keeps the word as first read, with that reply's checksum byte.
        const QByteArray pointBytes = Bytes(points.front().path);
        QCOMPARE(uint8_t(pointBytes[record]), uint8_t(slopeWord));
        expected.replace(record, SettingsRecords::RecordSize,
                         pointBytes.mid(record, SettingsRecords::RecordSize));
    }
    QCOMPARE(Bytes(points.front().path), expected);
}

void TestSafetyNet::wordNotReadIsAskedAgainThenMarked_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("readAtLast");
    QTest::newRow("stalled 300 ms once") << "late,ms=300,times=1,addr=71" << true;
    QTest::newRow("silent") << "silence,addr=71" << false;
}

void TestSafetyNet::wordNotReadIsAskedAgainThenMarked() {
    QFETCH(QString, fault);
    QFETCH(bool, readAtLast);
    q5emu::Q5Emulator& controller = ports_->emulator();
    controller.setZeroHead(true);
    controller.setReplyDelay(q5emu::TwoFramesAt19200);
    controller.setFault(*q5emu::ParseFaultSpec(fault.toStdString()));
    Connect_to_COM1Click();
    QVERIFY(DeviceConnected());
    TSpinExtEdit& cylinders = *app_->form().SpinExtEdit2;
    QCOMPARE(cylinders.isEnabled(), readAtLast);
    if (readAtLast)
        QCOMPARE(cylinders.Value(), 4.0L);
    QCOMPARE(app_->messages.size(), readAtLast ? 0 : 1);
    if (!readAtLast)
        QVERIFY(app_->messages.front().startsWith(
            QStringLiteral("Не удалось прочитать из прибора: P71.")));

    const std::vector<RestorePoint> points = RestorePoints::List(
        ToolData::Folder(), ToolData::ControllerFileName(CurrentDevice()).value());
    QCOMPARE(points.size(), std::size_t{1});
    const QByteArray record =
        Bytes(points.front().path).mid((Cylinders - SettingsRecords::FirstAddress) * 4, 4);
    QCOMPARE(record,
             readAtLast ? QByteArray("\x04\x00\x04\x00", 4) : QByteArray("\x00\x00\x00\xFF", 4));
}

void TestSafetyNet::unchangedBlockAddsNoPoint() {
    Connect_to_COM1Click();
    Close_COMClick();
    Connect_to_COM1Click();
    QCOMPARE(RestorePoints::List(ToolData::Folder(),
                                 ToolData::ControllerFileName(CurrentDevice()).value())
                 .size(),
             std::size_t{1});
    QVERIFY(app_->messages.isEmpty());
}

void TestSafetyNet::identityIsReadAgainOrItsPointKeptUnderTheBlock_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("serialRead");
    QTest::newRow("every fifth reply late") << "late,every=5" << true;
    QTest::newRow("a serial character silent") << "silence,addr=5" << false;
}

void TestSafetyNet::identityIsReadAgainOrItsPointKeptUnderTheBlock() {
    QFETCH(QString, fault);
    QFETCH(bool, serialRead);
    q5emu::Q5Emulator& controller = ports_->emulator();
    controller.setZeroHead(true);
    controller.setReplyDelay(q5emu::TwoFramesAt19200);
    controller.setFault(*q5emu::ParseFaultSpec(fault.toStdString()));
    const QString root = ToolData::Folder();
    const auto* corner = app_->form().findChild<QLabel*>(QStringLiteral("SerialIndicator"));
    QVERIFY(corner);
    Connect_to_COM1Click();
    QVERIFY(DeviceConnected());
    QCOMPARE(CurrentDevice().serialRead, serialRead);
    QCOMPARE(corner->text(), serialRead ? QString() : QStringLiteral("серийный номер не прочитан"));
    QCOMPARE(corner->accessibleName(), corner->text());
    QCOMPARE(RestorePoints::List(root, CurrentDevice().pointsName).size(), std::size_t{1});
    if (serialRead)
        return;
    const QString nameless = RestorePoints::DirectoryOf(root, CurrentDevice().pointsName);
    QVERIFY2(CurrentDevice().pointsName.startsWith(QStringLiteral("без номера~")),
             qPrintable(nameless));

    // A change leaves other words; the next connection reads the number and finds the point
    // kept without it all the same.
    TForm1& form = app_->form();
    form.show();
    TSpinButton* arrows = form.SpinExtEdit2->SpinButton();
    QTest::mouseClick(arrows, Qt::LeftButton, {}, arrows->DownRect().center());
    QCOMPARE(controller.param(Cylinders), 3);
    controller.setFault({});
    Close_COMClick();
    Connect_to_COM1Click();
    QVERIFY(CurrentDevice().serialRead);
    QCOMPARE(corner->text(), QString());
    QCOMPARE(CurrentDevice().pointsName, ToolData::ControllerFileName(CurrentDevice()).value());
    const std::vector<RestorePoint> points = RestorePoints::List(root, CurrentDevice().pointsName);
    QCOMPARE(points.size(), std::size_t{2}); // the one kept without the number, and this one's
    QCOMPARE(points.back().words[Cylinders - SettingsRecords::FirstAddress], 4);
    QVERIFY(!QDir(nameless).exists());
}

void TestSafetyNet::loadIsJournalledAndUndone() {
    q5emu::Q5Emulator& controller = ports_->emulator();
    Connect_to_COM1Click();
    const SettingsRecords::Words before = ControllerWords(controller);
    SettingsRecords::Entries changed{};
    for (std::size_t i = 0; i < changed.size(); ++i)
        changed[i].word = static_cast<uint16_t>(before[i] + 1);
    changed[IdentityWords::Address - SettingsRecords::FirstAddress].word = IdentityWords::Value;
    const QString file = QDir(data_->path()).filePath("changed.q5t");
    SettingsFile::Write(file, changed);
    QVERIFY(LoadSettings(file));
    QVERIFY(ControllerWords(controller) != before);

    const std::vector<JournalRecord> journal =
        ChangeJournal::Read(ChangeJournal::PathOf(ToolData::Folder(), CurrentDevice().serial));
    const auto loads = std::count_if(journal.begin(), journal.end(), [](const JournalRecord& r) {
        return r.operation == QStringLiteral("Загрузка из файла") && r.confirmed && r.oldWord;
    });
    QVERIFY(loads >= SettingsRecords::Count);

    QAction* undo = Action(app_->form(), "UndoAction");
    QVERIFY(undo->isEnabled());
    QCOMPARE(undo->text(), QStringLiteral("Отменить: Загрузка из файла changed.q5t"));
    undo->trigger();
    QVERIFY(app_->errors.isEmpty());
    QCOMPARE(ControllerWords(controller), before);
    QVERIFY(!undo->isEnabled());
}

void TestSafetyNet::stepIsJournalledUndoneAndRedone() {
    q5emu::Q5Emulator& controller = ports_->emulator();
    controller.setParam(Cylinders, 4);
    Connect_to_COM1Click();
    TForm1& form = app_->form();
    form.show();
    TSpinButton* arrows = form.SpinExtEdit2->SpinButton();
    QTest::mouseClick(arrows, Qt::LeftButton, {}, arrows->DownRect().center());
    QCOMPARE(controller.param(Cylinders), 3);

    QAction* undo = Action(form, "UndoAction");
    QAction* redo = Action(form, "RedoAction");
    QTRY_VERIFY(undo->isEnabled());
    QCOMPARE(undo->text(), QStringLiteral("Отменить: Количество цилиндров 4 → 3"));
    const std::vector<JournalRecord> journal =
        ChangeJournal::Read(ChangeJournal::PathOf(ToolData::Folder(), CurrentDevice().serial));
    QVERIFY(!journal.empty());
    QCOMPARE(journal.back().address, int(Cylinders));
    QCOMPARE(journal.back().oldWord, std::optional<uint16_t>(4));
    QCOMPARE(journal.back().newWord, 3);
    // The cylinders' constant, written first, by what it is.
    QCOMPARE(journal.at(journal.size() - 2).name,
             QStringLiteral("Постоянная цилиндров (слово 96)"));

    undo->trigger();
    QCOMPARE(controller.param(Cylinders), 4);
    QVERIFY(form.SpinExtEdit2->text().trimmed().startsWith(QStringLiteral("4 ")));
    QVERIFY(redo->isEnabled());
    redo->trigger();
    QCOMPARE(controller.param(Cylinders), 3);
    QVERIFY(app_->errors.isEmpty());

    // A silent controller: the undo stops at its write, says so, and stays on offer.
    q5emu::FaultSpec silent;
    silent.mode = q5emu::FaultMode::Silence;
    controller.setFault(silent);
    undo->trigger();
    QCOMPARE(app_->errors,
             QStringList{QStringLiteral("Отмена не завершена: нет ответа от прибора!")});
    QCOMPARE(controller.param(Cylinders), 3);
    QVERIFY(undo->text().startsWith(QStringLiteral("Отменить: Количество цилиндров")));
    const std::vector<JournalRecord> after =
        ChangeJournal::Read(ChangeJournal::PathOf(ToolData::Folder(), CurrentDevice().serial));
    QCOMPARE(after.back().operation, QStringLiteral("Отмена"));
    QVERIFY(!after.back().confirmed);
}

void TestSafetyNet::unwritableFolderIsToldOnce() {
    // A plain file where the data folder's parent should be: nothing can be made below it.
    const QString blocker = data_->filePath("blocker");
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_DATA_HOME", blocker.toUtf8());
    q5emu::Q5Emulator& controller = ports_->emulator();
    controller.setParam(Cylinders, 4);
    Connect_to_COM1Click();
    QVERIFY(DeviceConnected());
    app_->form().show();
    TSpinButton* arrows = app_->form().SpinExtEdit2->SpinButton();
    QTest::mouseClick(arrows, Qt::LeftButton, {}, arrows->DownRect().center());
    QCOMPARE(controller.param(Cylinders), 3);
    QCOMPARE(app_->messages.size(), 1);
    QVERIFY(app_->messages.front().startsWith(QStringLiteral("Папка данных недоступна")));
}

// The journal of a step fails to reach the disk: the next step is not sent, the technician is
// told once with the journal's name, and the step after goes out without a journal.
void TestSafetyNet::journalOffTheDiskHoldsTheNextStep() {
    disk_ = std::make_unique<TestDiskSync>();
    q5emu::Q5Emulator& controller = ports_->emulator();
    controller.setParam(Cylinders, 6);
    Connect_to_COM1Click();
    QVERIFY(DeviceConnected());
    const QString journal = ChangeJournal::PathOf(ToolData::Folder(), CurrentDevice().serial);
    // What the connection journaled is on the disk before the disk fails.
    QTRY_VERIFY(!QFile::exists(journal) || disk_->Ended(journal) >= 1);
    disk_->Fail(journal);
    app_->form().show();
    TSpinButton* arrows = app_->form().SpinExtEdit2->SpinButton();
    const auto step = [arrows] {
        QTest::mouseClick(arrows, Qt::LeftButton, {}, arrows->DownRect().center());
    };
    const int synced = disk_->Ended(journal);
    step();
    QCOMPARE(controller.param(Cylinders), 5);
    QTRY_VERIFY(disk_->Ended(journal) > synced);
    step();
    QCOMPARE(controller.param(Cylinders), 5);
    QTRY_COMPARE(app_->messages.size(), 1);
    QVERIFY2(app_->messages.front().contains(journal), qPrintable(app_->messages.front()));
    step(); // the window shows 4, not sent; the next step sends 3
    QCOMPARE(controller.param(Cylinders), 3);
    QCOMPARE(app_->messages.size(), 1);
}

QTEST_MAIN(TestSafetyNet)
#include "test_safety_net.moc"
