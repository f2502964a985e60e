// Where the file dialogs of each kind start: the folder last chosen in one of that kind, kept in
// the preferences, or the kind's first folder.

#include "DialogFolder.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using DialogFolder::Kind;
Q_DECLARE_METATYPE(DialogFolder::Kind)

class TestDialogFolder : public QObject {
    Q_OBJECT
private slots:
    void remembersPerKind_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<Kind>("other");
        QTest::newRow("settings files") << Kind::Settings << Kind::Logs;
        QTest::newRow("data logs") << Kind::Logs << Kind::Pdfs;
        QTest::newRow("PDFs") << Kind::Pdfs << Kind::Settings;
    }
    void remembersPerKind() {
        QFETCH(Kind, kind);
        QFETCH(Kind, other);
        QTemporaryDir dir;
        QSettings preferences(dir.filePath("preferences.ini"), QSettings::IniFormat);
        QCOMPARE(DialogFolder::Start(preferences, kind), DialogFolder::FirstFolder(kind));

        QVERIFY(QDir(dir.path()).mkpath("cars/Лада"));
        const QString chosen = dir.filePath("cars/Лада");
        DialogFolder::Remember(preferences, kind, chosen + "/2107.q5t");
        QCOMPARE(DialogFolder::Start(preferences, kind), chosen);
        QCOMPARE(DialogFolder::Start(preferences, other), DialogFolder::FirstFolder(other));

        // A cancelled dialog chose nothing; the folder stays.
        DialogFolder::Remember(preferences, kind, QString());
        QCOMPARE(DialogFolder::Start(preferences, kind), chosen);

        // Kept across runs of the program: another reader of the same preferences.
        preferences.sync();
        const QSettings again(dir.filePath("preferences.ini"), QSettings::IniFormat);
        QCOMPARE(DialogFolder::Start(again, kind), chosen);

        QVERIFY(QDir(chosen).removeRecursively());
        QCOMPARE(DialogFolder::Start(preferences, kind), DialogFolder::FirstFolder(kind));
    }
};

int RunDialogFolderTests(int argc, char** argv) {
    TestDialogFolder test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestDialogFolder.moc"
