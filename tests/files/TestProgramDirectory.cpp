// Where the production log and the file dialogs go when the program's directory can or
// cannot be written, and the names under which a controller's own files are kept. The tests run as
// root, who may write anywhere, so the writability test is replaced rather than the directory made
// read-only.

#include "ConnectedDevice.h"
#include "ProductionLog.h"
#include "ProgramDirectory.h"
#include "SettingsFile.h"
#include "ToolData.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestProgramDirectory : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanupTestCase() { QStandardPaths::setTestModeEnabled(false); }
    void cleanup() {
        ProgramDirectory::SetWritableTest({});
        QDir(UserDataFolder()).removeRecursively();
    }

    void filesFollowTheProgramDirectory_data();
    void filesFollowTheProgramDirectory();
    void writableDirectories();
    void systemFolders();
    void anInstalledProgramSharesItsLog();
    void fileNamesFromSerials();
    void proposedNamesKeepTheSerial();

private:
    static QString UserDataFolder() {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
            .filePath(QStringLiteral("tarvik-q5"));
    }
};

void TestProgramDirectory::filesFollowTheProgramDirectory_data() {
    QTest::addColumn<bool>("writable");
    QTest::newRow("writable program directory") << true;
    QTest::newRow("read-only program directory") << false;
}

void TestProgramDirectory::filesFollowTheProgramDirectory() {
    QFETCH(bool, writable);
    const QString program = QCoreApplication::applicationDirPath();
    QStringList asked;
    ProgramDirectory::SetWritableTest([&](const QString& directory) {
        asked << directory;
        return writable;
    });
    const QString userData = UserDataFolder();
    QDir(userData).removeRecursively();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString documentsOrHome = QDir(documents).exists() ? documents : QDir::homePath();

    QCOMPARE(ProductionLog::Path(),
             QDir(writable ? program : userData).filePath(QStringLiteral("Protocol.lst")));
    // The user's folder is made only when the log needs it.
    QCOMPARE(QFileInfo(userData).isDir(), !writable);
    QCOMPARE(SettingsFile::DialogDirectory(), writable ? program : documentsOrHome);
    QCOMPARE(asked, QStringList({program, program}));
}

void TestProgramDirectory::writableDirectories() {
    QTemporaryDir dir;
    QVERIFY(ProgramDirectory::IsWritable(dir.path()));
    QVERIFY(!ProgramDirectory::IsWritable(dir.filePath(QStringLiteral("missing"))));
}

void TestProgramDirectory::systemFolders() {
    for (const char* system : {"/usr/bin", "/usr/local/bin/", "/bin", "/"})
        QVERIFY2(ProgramDirectory::IsSystemFolder(system), system);
    for (const char* own : {"/home/user/q5", "/usrx/bin"})
        QVERIFY2(!ProgramDirectory::IsSystemFolder(own), own);
}

// Whoever runs an installed program numbers from the machine's one log.
void TestProgramDirectory::anInstalledProgramSharesItsLog() {
    for (const char* system : {"/usr/bin", "/usr/local/bin", "/opt/tarvik-q5"})
        QCOMPARE(ProgramDirectory::ForLog(system), QStringLiteral("/var/lib/tarvik-q5"));
}

void TestProgramDirectory::fileNamesFromSerials() {
    const char* const names[][2] = {{"AB/12", "AB%2F12"},     {"AB 12", "AB_12"},
                                    {"AB_12", "AB%5F12"},     {"AB 12    ", "AB_12"},
                                    {"..", "%2E%2E"},         {"Q5.1\x01", "Q5.1%01"},
                                    {"Тарвик 5", "Тарвик_5"}, {"      ", ""}}; // "": none
    for (const auto& [serial, name] : names)
        QCOMPARE(ToolData::SerialFileName(serial).value_or(QString()), QString(name));
    // Escaped Cyrillic outgrows a file name: cut, and told apart by a digest.
    const QString a = QString(24, QChar(0x2116)), b = QString(23, QChar(0x2116)) + u'x';
    const QString nameA = *ToolData::SerialFileName(a), nameB = *ToolData::SerialFileName(b);
    QVERIFY(nameA != nameB && nameA.toUtf8().size() <= 160 && nameA.contains(u'~'));
}

void TestProgramDirectory::proposedNamesKeepTheSerial() {
    ConnectedDevice device;
    device.serialRead = true;
    for (const auto& [serial, stem] :
         {std::pair{"  Q5 12/3   ", "Q5 12_3"}, {"Тарвик_5\x01", "Тарвик_5_"}, {"      ", ""}}) {
        device.serial = QString::fromUtf8(serial);
        QCOMPARE(ToolData::ProposedStem(device).value_or(QString()), QString::fromUtf8(stem));
    }
}

int RunProgramDirectoryTests(int argc, char** argv) {
    TestProgramDirectory test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestProgramDirectory.moc"
