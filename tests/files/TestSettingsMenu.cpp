// Saving the controller's parameter block to a settings file and loading it back, through
// the "Файл" menu, against an emulated controller.

#include "Captions.h"
#include "CompareDialog.h"
#include "Connection.h"
#include "ControllerState.h"
#include "ErrorHandler.h"
#include "FileFun.h"
#include "FileHelpers.h"
#include "Form1.h"
#include "FrameLog.h"
#include "Messages.h"
#include "ModalDriver.h"
#include "Protocol.h"
#include "SafetyDialogs.h"
#include "SettingsFile.h"
#include "TSpinExtEdit.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

constexpr int FirstAddress = 33;
constexpr int Words = 67;

// Words no control would show as they are, save the identity a settings file must hold.
uint16_t WordFor(int address) {
    return address == 47 ? 503 : static_cast<uint16_t>(address * 0x0101 + 0x80);
}

QStringList Writes(const q5emu::Q5Emulator& controller) {
    QStringList writes;
    for (const QString& frame : FrameTriples(controller))
        if (frame.startsWith(QString::number(CmdWriteParam) + ' '))
            writes << frame;
    return writes;
}

QStringList FileWrites(int first, int last) {
    QStringList writes;
    for (int address = first; address <= last; ++address)
        writes << Triple(CmdWriteParam, address, WordFor(address));
    return writes;
}

// Records with the file's words and noise in bytes 2 and 3, which a load ignores.
QByteArray SettingsBytes(int size) {
    QByteArray bytes;
    for (int address = FirstAddress; address < FirstAddress + Words; ++address) {
        const uint16_t word = WordFor(address);
        bytes += char(word & 0xFF);
        bytes += char(word >> 8);
        bytes += "\xAB\xCD";
    }
    return bytes.leftJustified(size, 'x', true);
}

// Types the full path into the dialog's name field and accepts it.
void ChooseFile(ModalDriver& driver, const QString& path, QString* startDirectory = nullptr) {
    driver.then<QFileDialog>([=](QFileDialog* dialog) {
        if (startDirectory)
            *startDirectory = dialog->directory().absolutePath();
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        static_cast<QDialog*>(dialog)->accept(); // public only as QDialog::accept
    });
}

// A change the user makes in the window: the first spin edit on show on the pages (not on
// the monitor panel) goes to a bound.
void ChangeSomeParameter(TForm1& form) {
    for (const QPointer<QObject>& component : form.Components.Items()) {
        auto* spin = qobject_cast<TSpinExtEdit*>(component.data());
        if (spin && spin->isVisible() && spin->isEnabled() && !form.Panel3->isAncestorOf(spin)) {
            spin->SetValue(spin->Value() < spin->ValueMax() ? spin->ValueMax() : spin->ValueMin());
            return;
        }
    }
    QFAIL("no spin edit on show");
}

q5emu::FaultSpec SilentOn(uint8_t command, uint8_t address) {
    q5emu::FaultSpec fault(q5emu::FaultMode::Silence);
    fault.command = command;
    fault.address = address;
    return fault;
}

} // namespace

class TestSettingsMenu : public QObject {
    Q_OBJECT
private slots:
    void init() {
        fixture = std::make_unique<WindowFixture>();
        for (int address = FirstAddress; address < FirstAddress + Words; ++address)
            fixture->controller().setParam(address, WordFor(address));
        fixture->connectWindow();
    }
    void cleanup() { fixture.reset(); }

    void saveWritesRecords();
    void saveNaming_data();
    void saveNaming();
    void loadStartsWhereTheSaveWent();
    void saveProposesSerialAndDate();
    void replaceQuestion_data();
    void replaceQuestion();
    void saveWithoutReplyTouchesNoFile_data();
    void saveWithoutReplyTouchesNoFile();
    void loadWritesWordsInOrder_data();
    void loadWritesWordsInOrder();
    void loadRefused_data();
    void loadRefused();
    void loadWithoutReplyBringsWindowBack();
    void loadChecksContent_data();
    void loadChecksContent();
    void menuOpensOnFirstClickAfterLoad();
    void readOnlyFileLoadsAndCompares();
    void typedTextIsSaved();

private:
    std::unique_ptr<WindowFixture> fixture;
};

void TestSettingsMenu::saveWritesRecords() {
    const QString path = fixture->filePath("car1.q5t");
    SaveSettings(path);

    const QByteArray bytes = ReadBytes(path);
    QCOMPARE(bytes.size(), 268);
    for (int i = 0; i < Words; ++i) {
        const int address = FirstAddress + i;
        const uint16_t word = fixture->controller().param(address);
        const QByteArray record = bytes.mid(4 * i, 4);
        QCOMPARE(uint8_t(record[0]), uint8_t(word & 0xFF));
        QCOMPARE(uint8_t(record[1]), uint8_t(word >> 8));
        QCOMPARE(uint8_t(record[2]), uint8_t(CmdReadParam + address + (word & 0xFF) + (word >> 8)));
        QCOMPARE(uint8_t(record[3]), uint8_t(0));
    }
    QCOMPARE(Writes(fixture->controller()), QStringList());
}

void TestSettingsMenu::saveNaming_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("saved");
    QTest::newRow("no extension") << "settings"
                                  << "settings.q5t";
    QTest::newRow("extension") << "settings.q5t"
                               << "settings.q5t";
    QTest::newRow("upper case") << "SETTINGS.Q5T"
                                << "SETTINGS.Q5T.q5t";
    QTest::newRow("in the directory name") << "dir.q5t/settings"
                                           << "dir.q5t/settings";
}

void TestSettingsMenu::saveNaming() {
    QFETCH(QString, chosen);
    QFETCH(QString, saved);
    QDir(fixture->directory()).mkdir("dir.q5t");
    fixture->form().SaveDialog1->setDirectory(fixture->directory());

    QString startDirectory;
    ModalDriver driver;
    ChooseFile(driver, fixture->filePath(chosen), &startDirectory);
    N3Click();

    QCOMPARE(startDirectory, QCoreApplication::applicationDirPath());
    QCOMPARE(ReadBytes(fixture->filePath(saved)).size(), 268);
    const QFileInfo savedFile(fixture->filePath(saved));
    QStringList entries = EntriesOf(savedFile.path());
    entries.removeOne("dir.q5t");
    QCOMPARE(entries, QStringList{savedFile.fileName()});
    QCOMPARE(fixture->form().windowTitle(), FileCaption(fixture->filePath(saved)));

    // The next parameter written from the window brings back the base caption.
    ChangeSomeParameter(fixture->form());
    QCOMPARE(fixture->form().windowTitle(), BaseCaption());
}

void TestSettingsMenu::loadStartsWhereTheSaveWent() {
    QVERIFY(QDir(fixture->directory()).mkdir("cars"));
    const QString path = fixture->filePath("cars/car1.q5t");
    fixture->answerQuestions(true);
    QString saveStart;
    QString loadStart;
    ModalDriver driver;
    ChooseFile(driver, path, &saveStart);
    N3Click();
    ChooseFile(driver, path, &loadStart);
    N2Click();

    QCOMPARE(saveStart, QCoreApplication::applicationDirPath());
    QCOMPARE(loadStart, QFileInfo(path).absolutePath());
}

void TestSettingsMenu::saveProposesSerialAndDate() {
    ConnectedDevice& device = CurrentDevice();
    const ConnectedDevice before = device;
    device.serial = QStringLiteral("Q5/0012 345");
    device.serialRead = true;
    QString proposed;
    ModalDriver driver;
    driver.then<QFileDialog>([&proposed](QFileDialog* dialog) {
        proposed = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        dialog->reject();
    });
    N3Click();
    device = before;
    // The serial as shown; only "/", which no file name holds, is replaced.
    QCOMPARE(proposed, QStringLiteral("Q5_0012 345 %1.q5t")
                           .arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    QCOMPARE(Writes(fixture->controller()), QStringList());
}

void TestSettingsMenu::replaceQuestion_data() {
    QTest::addColumn<int>("key"); // 0: click the button
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("No") << 0 << "No" << false;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << "" << false;
    QTest::newRow("Yes") << 0 << "Yes" << true;
    QTest::newRow("Enter") << int(Qt::Key_Return) << "" << true;
}

void TestSettingsMenu::replaceQuestion() {
    QFETCH(int, key);
    QFETCH(QString, button);
    QFETCH(bool, replaced);
    const QString path = fixture->filePath("car1.q5t");
    WriteBytes(path, "old settings");

    QString question;
    ModalDriver driver;
    ChooseFile(driver, path);
    driver.then<QMessageBox>([&](QMessageBox* box) {
        question = box->text();
        if (key != 0) {
            QTest::keyClick(box, Qt::Key(key));
            return;
        }
        for (QAbstractButton* candidate : box->buttons())
            if (candidate->text() == button)
                candidate->click();
    });
    N3Click();

    QCOMPARE(question, QStringLiteral("Такой файл существует! Заменить?"));
    QCOMPARE(ReadBytes(path).size(), replaced ? 268 : 12);
    QCOMPARE(fixture->form().windowTitle(), replaced ? FileCaption(path) : BaseCaption());
}

void TestSettingsMenu::saveWithoutReplyTouchesNoFile_data() {
    QTest::addColumn<QByteArray>("before"); // empty: no file yet
    QTest::newRow("new file") << QByteArray();
    QTest::newRow("existing file") << SettingsBytes(268);
}

void TestSettingsMenu::saveWithoutReplyTouchesNoFile() {
    QFETCH(QByteArray, before);
    const QString path = fixture->filePath("car1.q5t");
    if (!before.isEmpty())
        WriteBytes(path, before);
    SetConfirmPresenter([](const QString&) { return true; });
    fixture->controller().setFault(SilentOn(CmdReadParam, 60));
    fixture->form().setWindowTitle(FileCaption("earlier.q5t"));

    ModalDriver driver;
    ChooseFile(driver, path);
    QCOMPARE(ErrorOf(N3Click), QStringLiteral("Нет ответа от прибора!"));

    QCOMPARE(EntriesOf(fixture->directory()),
             before.isEmpty() ? QStringList() : QStringList{"car1.q5t"});
    if (!before.isEmpty())
        QCOMPARE(ReadBytes(path), before);
    QCOMPARE(fixture->form().windowTitle(), FileCaption("earlier.q5t"));
}

void TestSettingsMenu::loadWritesWordsInOrder_data() {
    QTest::addColumn<int>("fileSize");
    QTest::newRow("268 bytes") << 268;
    QTest::newRow("longer file") << 300;
}

void TestSettingsMenu::loadWritesWordsInOrder() {
    QFETCH(int, fileSize);
    const QString path = fixture->filePath("car2.q5t");
    WriteBytes(path, SettingsBytes(fileSize));
    for (int address = FirstAddress; address < FirstAddress + Words; ++address)
        fixture->controller().setParam(address, 0);
    fixture->form().OpenDialog1->setDirectory(fixture->directory());
    fixture->answerQuestions(true);

    QString startDirectory;
    ModalDriver driver;
    ChooseFile(driver, path, &startDirectory);
    N2Click();

    QCOMPARE(startDirectory, QCoreApplication::applicationDirPath());
    QCOMPARE(Writes(fixture->controller()).mid(0, Words), FileWrites(33, 99));
    QCOMPARE(fixture->form().windowTitle(), FileCaption(path));
    QVERIFY(fixture->form().Timer2->isActive());
    QVERIFY(fixture->form().SpinExtEdit1->isEnabled());

    ChangeSomeParameter(fixture->form());
    QCOMPARE(fixture->form().windowTitle(), BaseCaption());
}

void TestSettingsMenu::loadRefused_data() {
    QTest::addColumn<int>("fileSize"); // -1: no file
    QTest::addColumn<QString>("information");
    QTest::addColumn<QString>("error");
    QTest::newRow("missing") << -1 << "Такого файла нет!"
                             << "";
    QTest::newRow("empty") << 0 << ""
                           << "Read beyond end of file";
    QTest::newRow("100 bytes") << 100 << ""
                               << "Read beyond end of file";
    QTest::newRow("267 bytes") << 267 << ""
                               << "Read beyond end of file";
}

void TestSettingsMenu::loadRefused() {
    QFETCH(int, fileSize);
    QFETCH(QString, information);
    QFETCH(QString, error);
    const QString path = fixture->filePath("short.q5t");
    if (fileSize >= 0)
        WriteBytes(path, SettingsBytes(fileSize));
    const QString value = fixture->form().SpinExtEdit1->text();

    ModalDriver driver;
    ChooseFile(driver, path);
    QCOMPARE(ErrorOf(N2Click), error);

    QCOMPARE(fixture->informations,
             information.isEmpty() ? QStringList() : QStringList{information});
    QCOMPARE(Writes(fixture->controller()), QStringList());
    QVERIFY(fixture->form().Timer2->isActive());
    QVERIFY(fixture->form().SpinExtEdit1->isEnabled());
    QCOMPARE(fixture->form().SpinExtEdit1->text(), value);
    QCOMPARE(fixture->form().windowTitle(), BaseCaption());
}

void TestSettingsMenu::loadWithoutReplyBringsWindowBack() {
    const QString path = fixture->filePath("car3.q5t");
    WriteBytes(path, SettingsBytes(268));
    fixture->controller().setFault(SilentOn(CmdWriteParam, 40));
    fixture->answerQuestions(true);
    bool windowBackWhenShown = false;
    SetErrorPresenter([&](const QString& text) {
        fixture->errors << text;
        windowBackWhenShown =
            fixture->form().Timer2->isActive() && fixture->form().SpinExtEdit1->isEnabled();
    });

    ModalDriver driver;
    ChooseFile(driver, path);
    // From a timer, as from the menu, the error reaches the application's error handler.
    QTimer::singleShot(0, &fixture->form(), Guarded(&N2Click));
    QTRY_COMPARE(fixture->errors,
                 QStringList{"Нет ответа от прибора!\n\nЗаписано слов: 7 из 67.\n"
                             "«Отменить» (Ctrl+Z) вернёт прибору прежние значения."});

    QVERIFY(windowBackWhenShown);
    QCOMPARE(Writes(fixture->controller()).mid(0, 8), FileWrites(33, 40));
    QVERIFY(!Writes(fixture->controller()).contains(Triple(CmdWriteParam, 41, WordFor(41))));
    QCOMPARE(fixture->form().windowTitle(), BaseCaption());
}

// Nothing reaches the controller from a file that is not a settings file; a doubtful one
// only when the user says so; a file the tool saved loads without a question.
void TestSettingsMenu::loadChecksContent_data() {
    QTest::addColumn<QByteArray>("bytes"); // empty: the controller's own block, saved
    QTest::addColumn<int>("length");       // the file made this long (sparse) when above 268
    QTest::addColumn<QString>("named");    // what the question says, parts split by '|'
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("writes");
    QByteArray random(1000, '\0');
    quint32 seed = 12345;
    for (char& byte : random) {
        seed = seed * 1103515245u + 12345u;
        byte = char(seed >> 16);
    }
    QByteArray identity502 = SettingsBytes(268);
    identity502[(47 - 33) * 4] = char(502 & 0xFF);
    const QString foreign = "Файл не является файлом установок Tarvik-Q5!";
    const QString damaged = "В файле повреждены записи:\n  Слово 33\n  Запуск двигателя|и ещё";
    const QByteArray none;
    QTest::newRow("1000 random bytes") << random << 0 << "" << true << foreign << 0 << 0;
    QTest::newRow("word 47 is 502") << identity502 << 0 << "" << true << foreign << 0 << 0;
    QTest::newRow("saved by the tool") << none << 0 << "" << false << "" << 0 << Words;
    QTest::newRow("damaged, No") << SettingsBytes(268) << 0 << damaged << false << "" << 1 << 0;
    QByteArray sound = SettingsBytes(268);
    for (int i = 3; i < sound.size(); i += 4)
        sound[i] = '\0';
    QTest::newRow("out of range") << sound << 0
                                  << "значения вне допустимых пределов:\n  Запуск двигателя"
                                  << false << "" << 1 << 0;
    QTest::newRow("damaged, Yes") << SettingsBytes(268) << 0 << damaged << true << "" << 1 << Words;
    QByteArray unread = sound;
    unread.replace(0, 4, QByteArray("\0\0\0\xFF", 4));
    QTest::newRow("a word not read") << unread << 0 << "" << true
                                     << "Эти значения не удалось прочитать из прибора, когда "
                                        "сохранялся файл:\n  Слово 33\nФайл нельзя записать в "
                                        "прибор."
                                     << 0 << 0;
    QTest::newRow("269 bytes") << none << 269 << "269 байт вместо 268" << false << "" << 1 << 0;
    QTest::newRow("60 MB") << none << (60 << 20) << "62914560 байт" << false << "" << 1 << 0;
}

void TestSettingsMenu::loadChecksContent() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, length);
    QFETCH(QString, named);
    QFETCH(bool, answer);
    QFETCH(QString, error);
    QFETCH(int, questions);
    QFETCH(int, writes);
    const QString path = fixture->filePath("check.q5t");
    if (bytes.isEmpty()) {
        // A fresh controller's block: every word inside its control's range.
        q5emu::ControllerState fresh;
        for (int address = FirstAddress; address < FirstAddress + Words; ++address)
            fixture->controller().setParam(address, fresh.read(q5emu::Space::Param, address, 0));
        SaveSettings(path);
    } else
        WriteBytes(path, bytes);
    if (length > 0)
        QVERIFY(QFile::resize(path, length));
    fixture->controller().clearLog();
    fixture->answerQuestions(answer);

    ModalDriver driver;
    ChooseFile(driver, path);
    QCOMPARE(ErrorOf(N2Click), error);

    QVERIFY2(fixture->questions.size() == questions, qPrintable(fixture->questions.join("|")));
    // The question names the words by their captions, five at most, and a length too long.
    for (const QString& part : named.split('|', Qt::SkipEmptyParts))
        QVERIFY2(fixture->questions.value(0).contains(part),
                 qPrintable(fixture->questions.value(0)));
    // A load ends by reading the window back, whose option buttons may write their choice.
    QCOMPARE(std::min<int>(Writes(fixture->controller()).size(), Words), writes);
}

// Typing the name of an existing file opens the name field's completion list, a popup; Enter
// accepts the dialog with the list still up. The first click on the menu after the load must
// open the menu, not just close a forgotten popup.
void TestSettingsMenu::menuOpensOnFirstClickAfterLoad() {
    fixture->connectWindow();
    fixture->form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&fixture->form()));
    const QString path = fixture->filePath("typed.q5t");
    SaveSettings(path);
    fixture->answerQuestions(true);

    ModalDriver driver;
    driver.then<QFileDialog>([=](QFileDialog* dialog) {
        auto* completionList = new QMenu(&fixture->form()); // stands for the completion list
        completionList->addAction(QStringLiteral("typed.q5t"));
        completionList->popup(dialog->mapToGlobal(QPoint(10, 10)));
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        static_cast<QDialog*>(dialog)->accept();
    });
    N2Click();
    QCOMPARE(fixture->form().windowTitle(), FileCaption(path));
    // A popup still open would take the next click only to close itself.
    QVERIFY(QApplication::activePopupWidget() == nullptr);

    QMenuBar* bar = fixture->form().MainMenu1;
    const QPoint title = bar->actionGeometry(fixture->form().N1->menuAction()).center();
    QTest::mouseClick(bar, Qt::LeftButton, {}, title);
    QTRY_VERIFY(fixture->form().N1->isVisible());
    fixture->form().N1->hide();
}

void TestSettingsMenu::readOnlyFileLoadsAndCompares() {
    const QString path = fixture->filePath("locked.q5t");
    WriteBytes(path, SettingsBytes(268));
    fixture->answerQuestions(true);
    const ReadOnlyFile locked(path);

    ModalDriver driver;
    ChooseFile(driver, path);
    QCOMPARE(ErrorOf(N2Click), QString());
    QCOMPARE(Writes(fixture->controller()).mid(0, Words), FileWrites(33, 99));
    QVERIFY(MakeControllerComparison(path, nullptr));
}

// Typed into the cylinder count, not yet committed: the file holds what the field shows.
void TestSettingsMenu::typedTextIsSaved() {
    TSpinExtEdit* cylinders = fixture->form().SpinExtEdit2;
    QVERIFY(cylinders->isVisible());
    cylinders->setFocus();
    cylinders->selectAll();
    QTest::keyClicks(cylinders, "6");
    const QString path = fixture->filePath("typed.q5t");
    SaveSettings(path);

    const SettingsRecords::Words words = SettingsFile::ReadWords(path);
    QCOMPARE(words[71 - FirstAddress], 6);
    QCOMPARE(words[96 - FirstAddress], 4883);
    QCOMPARE(cylinders->text().trimmed(), QStringLiteral("6 цилиндров"));
}

int RunSettingsMenuTests(int argc, char** argv) {
    TestSettingsMenu test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestSettingsMenu.moc"
