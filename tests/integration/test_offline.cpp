// Editing a settings file without a controller: the stand-in started inside the program, the
// window connected to it the ordinary way, the edited block saved, nothing left running when
// the session ends, and files the load would refuse refused before anything starts.

#include "AppFixture.h"
#include "Captions.h"
#include "Connection.h"
#include "ControllerState.h"
#include "EmulatedPorts.h"
#include "ErrorHandler.h"
#include "FileFun.h"
#include "Form1.h"
#include "Frame.h"
#include "LinkIndicator.h"
#include "Messages.h"
#include "Offline.h"
#include "Protocol.h"
#include "SettingsRecords.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <utility>

namespace {

constexpr int SpeedLimitAddress = 92;
constexpr int CylindersAddress = 71;

// The block of the emulator's sample controller, as a settings file would carry it.
SettingsRecords::Words SampleWords() {
    const q5emu::ControllerState state;
    SettingsRecords::Words words{};
    for (int i = 0; i < SettingsRecords::Count; ++i)
        words[static_cast<size_t>(i)] = state.read(
            q5emu::Space::Param, static_cast<uint8_t>(SettingsRecords::FirstAddress + i), 0);
    return words;
}

// The bytes a save of these words writes: each record carries its reply's checksum.
QByteArray FileOf(const SettingsRecords::Words& words) {
    SettingsRecords::Entries entries{};
    for (int i = 0; i < SettingsRecords::Count; ++i) {
        const uint16_t word = words[static_cast<size_t>(i)];
        const auto address = static_cast<uint8_t>(SettingsRecords::FirstAddress + i);
        entries[static_cast<size_t>(i)] = {word, Frame::Build(CmdReadParam, address, word)[4]};
    }
    return SettingsRecords::Build(entries);
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The process's open descriptors and its threads, as one count each.
std::pair<qsizetype, qsizetype> Resources() {
    const auto entries = [](const char* directory) {
        return QDir(QString::fromLatin1(directory))
            .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
            .size();
    };
    return {entries("/proc/self/fd"), entries("/proc/self/task")};
}

// Makes current every page that holds the widget.
void ShowPageOf(QWidget* widget) {
    for (QWidget* child = widget; child->parentWidget(); child = child->parentWidget())
        if (auto* pages = qobject_cast<QStackedWidget*>(child->parentWidget()))
            pages->setCurrentWidget(child);
}

QAction* OpenAction(TForm1& form) {
    return form.MainMenu1->findChild<QAction*>(QStringLiteral("OpenOffline"));
}

QString Indicator(TForm1& form) {
    auto* label = form.MainMenu1->findChild<LinkIndicator*>(QStringLiteral("LinkIndicator"));
    return label ? label->text() : QStringLiteral("<none>");
}

} // namespace

class OfflineTest : public QObject {
    Q_OBJECT
private slots:
    void editAndSaveWithoutController();
    void refusedFileStartsNothing_data();
    void refusedFileStartsNothing();
    void doubtfulFileIsAskedAbout_data();
    void doubtfulFileIsAskedAbout();
};

void OfflineTest::editAndSaveWithoutController() {
    QTemporaryDir dir;
    const SettingsRecords::Words words = SampleWords();
    const QString path = dir.filePath(QStringLiteral("car1.q5t"));
    WriteBytes(path, FileOf(words));
    EmulatedPorts ports; // a controller on COM1 that the session must leave alone
    AppFixture app;
    TForm1& form = app.form();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QAction* open = OpenAction(form);
    QVERIFY(open && open->isEnabled());
    const auto resources = Resources();

    RunHandler([&] { OpenFileOffline(path); });
    QCOMPARE(app.messages + app.errors, QStringList());
    QVERIFY(DeviceConnected());
    QVERIFY(OfflineSession());
    QVERIFY(!open->isEnabled());
    QCOMPARE(form.windowTitle(), QStringLiteral("Tarvik-Q5 system (car1.q5t, без прибора)"));
    QCOMPARE(Indicator(form), QStringLiteral("Без прибора"));
    QCOMPARE(form.StaticText1->text(), QString()); // no serial number
    QCOMPARE(form.StaticText4->text(), QStringLiteral("0 "));
    // No engine behind the stand-in: its live displays show nothing.
    for (QWidget* live : std::initializer_list<QWidget*>{form.Label18, form.StaticText2,
                                                         form.ExtText4, form.Gauge1})
        QVERIFY2(live->isHidden(), qPrintable(live->objectName()));

    // The first edit can be undone, though it writes a word that no control shows.
    QAction* undo = form.MainMenu1->findChild<QAction*>(QStringLiteral("UndoAction"));
    const double cylinders = words[CylindersAddress - SettingsRecords::FirstAddress];
    ShowPageOf(form.SpinExtEdit2);
    form.SpinExtEdit2->StepUp();
    QTRY_VERIFY(undo->isEnabled());
    undo->trigger();
    QCOMPARE(static_cast<double>(form.SpinExtEdit2->Value()), cylinders);

    ShowPageOf(form.SpinExtEdit3);
    QCOMPARE(static_cast<double>(form.SpinExtEdit3->Value()), 5500.0);
    form.SpinExtEdit3->StepUp();
    QCOMPARE(form.windowTitle(), QStringLiteral("Tarvik-Q5 system (car1.q5t, без прибора)"));
    QTRY_VERIFY(undo->isEnabled());
    undo->trigger();
    QCOMPARE(static_cast<double>(form.SpinExtEdit3->Value()), 5500.0);
    form.MainMenu1->findChild<QAction*>(QStringLiteral("RedoAction"))->trigger();
    QCOMPARE(static_cast<double>(form.SpinExtEdit3->Value()), 5600.0);
    // "Сохранить" proposes the edited file; saved under a new name, the session edits that.
    QStringList proposed;
    QTimer::singleShot(0, form.SaveDialog1, [&form, &proposed] {
        proposed = form.SaveDialog1->selectedFiles();
        form.SaveDialog1->reject();
    });
    form.N3->trigger();
    QCOMPARE(proposed, QStringList{path});
    const QString saved = dir.filePath(QStringLiteral("edited.q5t"));
    RunHandler([&] { SaveSettings(saved); });
    QCOMPARE(app.errors, QStringList());
    SettingsRecords::Words edited = words;
    edited[SpeedLimitAddress - SettingsRecords::FirstAddress] = 5600;
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), FileOf(edited));
    file.close();

    QTest::mouseClick(form.Close_COM, Qt::LeftButton);
    QVERIFY(!form.Label18->isHidden());
    QVERIFY(!OfflineSession());
    QVERIFY(!DeviceConnected());
    QVERIFY(open->isEnabled());
    QCOMPARE(Indicator(form), QString());
    // The pseudo-terminal and the port are closed, the stand-in's thread is joined.
    QCOMPARE(Resources(), resources);
    QCOMPARE(ports.emulator().framesReceived(), size_t(0));
}

void OfflineTest::refusedFileStartsNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // empty: a directory stands there
    QTest::addColumn<QString>("shown");
    SettingsRecords::Words foreign = SampleWords();
    foreign[47 - SettingsRecords::FirstAddress] = 502;
    QTest::newRow("missing") << "none.q5t" << QByteArray() << "Такого файла нет!";
    QTest::newRow("directory") << "dir.q5t" << QByteArray() << "Такого файла нет!";
    QTest::newRow("short") << "short.q5t" << FileOf(SampleWords()).left(100)
                           << "Read beyond end of file.";
    QTest::newRow("foreign") << "foreign.q5t" << FileOf(foreign)
                             << "Файл не является файлом установок Tarvik-Q5!";
}

void OfflineTest::refusedFileStartsNothing() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!bytes.isEmpty())
        WriteBytes(path, bytes);
    else if (name.startsWith(QStringLiteral("dir")))
        QVERIFY(QDir().mkpath(path));
    AppFixture app;
    const auto resources = Resources();

    RunHandler([&] { OpenFileOffline(path); });
    QCOMPARE(app.messages + app.errors, QStringList{shown});
    QVERIFY(!OfflineSession());
    QVERIFY(!DeviceConnected());
    QCOMPARE(Resources(), resources);
}

void OfflineTest::doubtfulFileIsAskedAbout_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("named");
    SettingsRecords::Words beyond = SampleWords();
    beyond[SpeedLimitAddress - SettingsRecords::FirstAddress] = 9000;
    QTest::newRow("272 bytes") << FileOf(SampleWords()) + QByteArray(4, '\0')
                               << "272 байта вместо 268; открыты будут только первые 268";
    QTest::newRow("out of range") << FileOf(beyond) << "пределов:\n  Ограничение об/мин";
}

// Asked as a load asks, and "No" starts nothing.
void OfflineTest::doubtfulFileIsAskedAbout() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, named);
    QTemporaryDir dir;
    WriteBytes(dir.filePath(QStringLiteral("doubtful.q5t")), bytes);
    AppFixture app;
    QStringList questions;
    SetConfirmPresenter([&questions](const QString& text) {
        questions << text;
        return false; // "No"
    });
    RunHandler([&] { OpenFileOffline(dir.filePath(QStringLiteral("doubtful.q5t"))); });
    SetConfirmPresenter({});
    QCOMPARE(questions.size(), 1);
    QVERIFY2(questions.first().contains(named) &&
                 questions.first().endsWith(QStringLiteral("Всё равно открыть файл?")),
             qPrintable(questions.first()));
    QVERIFY(!OfflineSession() && !DeviceConnected());
}

// The program's own application object, so that errors reach its error handler.
int main(int argc, char** argv) {
    TApplication application(argc, argv);
    OfflineTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_offline.moc"
