// Restore points and comparisons against an emulated controller: what is written, what is
// refused, and what is never offered.

#include "CompareDialog.h"
#include "Connection.h"
#include "ConnectionEvents.h"
#include "ControllerLink.h"
#include "ControllerSession.h"
#include "ExchangeObserver.h"
#include "FileHelpers.h"
#include "Form1.h"
#include "ParameterBlock.h"
#include "Protocol.h"
#include "RestorePointsDialog.h"
#include "SafetyDialogs.h"
#include "ServiceMenu.h"
#include "SettingsCheck.h"
#include "ToolData.h"
#include "WindowFixture.h"
#include "WindowLink.h"
#include "WindowSession.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace {

using Write = std::pair<int, int>; // address, word

std::size_t IndexOf(int address) {
    return static_cast<std::size_t>(address - SettingsRecords::FirstAddress);
}

// Another valid word for a spin edit of the given bounds.
uint16_t Other(uint16_t word, uint16_t low, uint16_t high) {
    return word == low ? high : low;
}

QPushButton* Button(QWidget& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
}

// The parameter writes that a click on the dialog's button sends.
std::vector<Write> WritesOfClick(QWidget& dialog, const char* button) {
    std::vector<Write> writes;
    const ExchangeObservers::Subscription watch =
        WindowLink().Observe([&writes](const ExchangeRecord& record) {
            if (record.command == CmdWriteParam)
                writes.emplace_back(record.address, record.sent);
        });
    QTest::mouseClick(Button(dialog, button), Qt::LeftButton);
    return writes;
}

} // namespace

class TestSafetyDialogs : public QObject {
    Q_OBJECT
private slots:
    void init() {
        fixture = std::make_unique<WindowFixture>();
        fixture->connectWindow();
        oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", fixture->filePath("data").toUtf8());
        CurrentDevice().serial = QStringLiteral("Q5-0042");
        CurrentDevice().serialRead = true;
        CurrentDevice().pointsName = QStringLiteral("Q5-0042");
    }
    void cleanup() {
        CurrentDevice() = ConnectedDevice{};
        qputenv("XDG_DATA_HOME", oldDataHome);
        fixture.reset();
    }

    void compareWritesOnlyCheckedWords();
    void compareWritesLinkedWordsTogether();
    void refusedWordIsAskedAbout();
    void comparedFileIsCheckedFirst_data();
    void comparedFileIsCheckedFirst();
    void controllerSideIsReadAsTheConnectionReads_data();
    void controllerSideIsReadAsTheConnectionReads();
    void restoreBringsBackEveryWord_data();
    void restoreBringsBackEveryWord();
    void actionsFollowTheConnection();

private:
    std::unique_ptr<WindowFixture> fixture;
    QByteArray oldDataHome;
};

void TestSafetyDialogs::compareWritesOnlyCheckedWords() {
    SettingsRecords::Entries file = ParameterBlock::Read();
    auto change = [&file](int address, uint16_t low, uint16_t high) {
        uint16_t& word = file[IndexOf(address)].word;
        word = Other(word, low, high);
        return Write{address, word};
    };
    const Write idle = change(57, 1000, 4000);
    change(71, 4, 6);
    const Write limit = change(92, 3000, 5000);
    const QString path = fixture->filePath("car1.q5t");
    WriteBytes(path, SettingsRecords::Build(file));
    const uint16_t cylinders = fixture->controller().param(71);

    const std::unique_ptr<CompareDialog> dialog = MakeControllerComparison(path, nullptr);
    QVERIFY(dialog);
    QCOMPARE(dialog->Rows().size(), std::size_t{3});
    QVERIFY(!Button(*dialog, "WriteButton")->isEnabled());
    dialog->SetChecked(0, true);
    dialog->SetChecked(2, true);

    QCOMPARE(WritesOfClick(*dialog, "WriteButton"), (std::vector<Write>{idle, limit}));
    QCOMPARE(fixture->controller().param(57), idle.second);
    QCOMPARE(fixture->controller().param(92), limit.second);
    QCOMPARE(fixture->controller().param(71), cylinders);
    QCOMPARE(dialog->Rows().size(), std::size_t{1}); // read again: only 71 differs now
    QCOMPARE(dialog->Rows().front().address, 71);
    QVERIFY(fixture->errors.isEmpty());
}

// Only the cylinder count is checked: its constant goes with it, first, as the window writes
// them.
void TestSafetyDialogs::compareWritesLinkedWordsTogether() {
    SettingsRecords::Entries file = ParameterBlock::Read();
    const uint16_t cylinders = file[IndexOf(71)].word == 4 ? 6 : 4;
    const uint16_t constant = cylinders == 4 ? 7324 : 4883;
    file[IndexOf(71)].word = cylinders;
    file[IndexOf(96)].word = constant;
    const QString path = fixture->filePath("car1.q5t");
    WriteBytes(path, SettingsRecords::Build(file));

    const std::unique_ptr<CompareDialog> dialog = MakeControllerComparison(path, nullptr);
    QCOMPARE(dialog->Rows().size(), std::size_t{1});
    dialog->SetChecked(0, true);
    QCOMPARE(WritesOfClick(*dialog, "WriteButton"),
             (std::vector<Write>{{96, constant}, {71, cylinders}}));
    QCOMPARE(fixture->controller().param(96), constant);
    QVERIFY(dialog->Rows().empty());
}

void TestSafetyDialogs::refusedWordIsAskedAbout() {
    fixture->answerQuestions(false);
    SettingsRecords::Entries file = ParameterBlock::Read();
    file[IndexOf(34)].word = 7; // no such item in the list
    const QString path = fixture->filePath("car1.q5t");
    WriteBytes(path, SettingsRecords::Build(file));
    const std::unique_ptr<CompareDialog> dialog = MakeControllerComparison(path, nullptr);
    dialog->SetChecked(0, true);
    QCOMPARE(WritesOfClick(*dialog, "WriteButton"), std::vector<Write>());
    QCOMPARE(fixture->questions.size(), 1);
    QVERIFY(fixture->questions.front().contains("Запуск двигателя"));

    // The window goes with the connection.
    QSignalSpy rejected(dialog.get(), &QDialog::rejected);
    emit SessionOf(fixture->form()).Events().closed();
    QCOMPARE(rejected.count(), 1);
}

void TestSafetyDialogs::comparedFileIsCheckedFirst_data() {
    QTest::addColumn<QByteArray>("bytes"); // empty: no file
    QTest::addColumn<QString>("information");
    QTest::addColumn<QString>("error");

    SettingsRecords::Entries foreign{};
    foreign[IndexOf(47)].word = 502;
    QTest::newRow("missing") << QByteArray() << "Такого файла нет!"
                             << "";
    QTest::newRow("short") << QByteArray(267, '\0') << ""
                           << "Read beyond end of file";
    QTest::newRow("foreign") << SettingsRecords::Build(foreign) << ""
                             << SettingsCheck::ForeignFileText();
}

void TestSafetyDialogs::comparedFileIsCheckedFirst() {
    QFETCH(QByteArray, bytes);
    const QString path = fixture->filePath("other.q5t");
    if (!bytes.isEmpty())
        WriteBytes(path, bytes);
    int exchanges = 0;
    const ExchangeObservers::Subscription watch =
        WindowLink().Observe([&exchanges](const ExchangeRecord&) { ++exchanges; });

    QString error;
    try {
        QVERIFY(!MakeControllerComparison(path, nullptr));
    } catch (const std::exception& thrown) {
        error = QString::fromUtf8(thrown.what());
    }
    QTEST(error, "error");
    QTEST(fixture->informations.join('|'), "information");
    QCOMPARE(exchanges, 0);
}

void TestSafetyDialogs::controllerSideIsReadAsTheConnectionReads_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("readsOf57");
    QTest::newRow("stalled once") << "late,ms=300,times=1,addr=57"
                                  << "" << 2;
    QTest::newRow("every fifth reply late") << "late,every=5"
                                            << "" << 2;
    QTest::newRow("silent") << "silence,addr=57"
                            << "Нет ответа от прибора!" << 2;
}

void TestSafetyDialogs::controllerSideIsReadAsTheConnectionReads() {
    QFETCH(QString, fault);
    QFETCH(int, readsOf57);
    const QString path = fixture->filePath("same.q5t");
    WriteBytes(path, SettingsRecords::Build(ParameterBlock::Read()));
    q5emu::Q5Emulator& controller = fixture->controller();
    // A stalled controller answers what came meanwhile in order, with no head to tell them by.
    controller.setZeroHead(true);
    controller.setReplyDelay(q5emu::TwoFramesAt19200);
    controller.clearLog();
    controller.setFault(*q5emu::ParseFaultSpec(fault.toStdString()));

    QString error;
    std::unique_ptr<CompareDialog> dialog;
    try {
        dialog = MakeControllerComparison(path, nullptr);
    } catch (const std::exception& thrown) {
        error = QString::fromUtf8(thrown.what());
    }
    QTEST(error, "error");
    QCOMPARE(dialog ? dialog->Rows().size() : 0, std::size_t{0});
    const std::vector<q5emu::LoggedFrame> frames = controller.frameLog();
    QCOMPARE(std::count_if(frames.begin(), frames.end(),
                           [](const q5emu::LoggedFrame& frame) { return frame.address == 57; }),
             readsOf57);
}

void TestSafetyDialogs::restoreBringsBackEveryWord_data() {
    QTest::addColumn<bool>("answer");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void TestSafetyDialogs::restoreBringsBackEveryWord() {
    QFETCH(bool, answer);
    fixture->answerQuestions(answer);
    const QString root = ToolData::Folder();
    QVERIFY(root.startsWith(fixture->directory()));
    const SettingsRecords::Entries before = ParameterBlock::Read();
    QVERIFY(RestorePoints::Keep(root, QStringLiteral("Q5-0042"), before,
                                QDateTime(QDate(2026, 12, 8), QTime(9, 0))));
    const QString folder = RestorePoints::DirectoryOf(root, QStringLiteral("Q5-0042"));
    WriteBytes(QDir(folder).filePath("2026-12-07 09-00-00.q5t"), QByteArray(100, '\0'));
    for (int address : {34, 57, 71, 88, 99})
        fixture->controller().setParam(address, fixture->controller().param(address) ^ 1);
    const SettingsRecords::Entries changed = ParameterBlock::Read();

    const std::unique_ptr<RestorePointsDialog> dialog = MakeRestorePointsDialog(nullptr);
    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("PointTable"));
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 2)->text(), QStringLiteral("5"));
    QCOMPARE(table->item(1, 2)->text(), QStringLiteral("файл не читается"));
    QPushButton* restore = Button(*dialog, "RestoreButton");
    table->selectRow(1);
    QVERIFY(!restore->isEnabled());

    table->selectRow(0);
    QVERIFY(restore->isEnabled());
    QTest::mouseClick(restore, Qt::LeftButton);

    QCOMPARE(fixture->questions.value(0),
             QStringLiteral("Записать в прибор точку восстановления от 08.12.2026 09:00:00?"));
    for (int address = SettingsRecords::FirstAddress; address <= SettingsRecords::LastAddress;
         ++address)
        QCOMPARE(fixture->controller().param(static_cast<uint8_t>(address)),
                 (answer ? before : changed)[IndexOf(address)].word);
    QCOMPARE(table->item(0, 2)->text(), answer ? QStringLiteral("совпадает") : QStringLiteral("5"));
    QVERIFY(fixture->errors.isEmpty());
}

void TestSafetyDialogs::actionsFollowTheConnection() {
    InstallSafetyDialogs(fixture->form());
    QStringList texts;
    for (QAction* action : ServiceMenuOf(fixture->form())->actions())
        texts << action->text();
    QCOMPARE(texts,
             (QStringList{"Точки восстановления…", "Сравнить с файлом…", "Сравнить два файла…"}));
    const auto enabled = [this](const char* name) {
        return fixture->form().findChild<QAction*>(QString::fromLatin1(name))->isEnabled();
    };
    QVERIFY(!enabled("RestorePointsAction") && !enabled("CompareWithFileAction"));
    QVERIFY(enabled("CompareTwoFilesAction"));
    emit SessionOf(fixture->form()).Events().connected();
    QVERIFY(enabled("RestorePointsAction") && enabled("CompareWithFileAction"));
    emit SessionOf(fixture->form()).Events().closed();
    QVERIFY(!enabled("RestorePointsAction") && !enabled("CompareWithFileAction"));
    QVERIFY(enabled("CompareTwoFilesAction"));
}

int RunSafetyDialogTests(int argc, char** argv) {
    TestSafetyDialogs test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestSafetyDialogs.moc"
