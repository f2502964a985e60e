#include "InOutError.h"

#include <QtTest>

#include <cerrno>

class TestErrors : public QObject {
    Q_OBJECT
private slots:
    void textsByCode_data();
    void textsByCode();
    void systemErrorNumbersMap_data();
    void systemErrorNumbersMap();
};

void TestErrors::textsByCode_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("100") << 100 << "Read beyond end of file";
    QTest::newRow("106") << 106 << "Invalid numeric input";
    QTest::newRow("other") << 131 << "I/O error 131";
}

void TestErrors::textsByCode() {
    QFETCH(int, code);
    QFETCH(QString, text);
    try {
        throw EInOutError(code);
    } catch (const std::exception& error) {
        QCOMPARE(QString::fromUtf8(error.what()), text);
    }
    QCOMPARE(EInOutError(code).code(), code);
}

void TestErrors::systemErrorNumbersMap_data() {
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("EACCES") << EACCES << 5 << "File access denied";
    QTest::newRow("EPERM") << EPERM << 5 << "File access denied";
    QTest::newRow("EROFS") << EROFS << 5 << "File access denied";
    QTest::newRow("EISDIR") << EISDIR << 5 << "File access denied";
    QTest::newRow("ENOENT") << ENOENT << 2 << "File not found";
    QTest::newRow("EMFILE") << EMFILE << 4 << "Too many open files";
    QTest::newRow("ENOSPC") << ENOSPC << 101 << "Disk full";
    QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG << 3 << "Invalid filename";
    QTest::newRow("ENOTDIR") << ENOTDIR << ENOTDIR << QString("I/O error %1").arg(ENOTDIR);
    QTest::newRow("EFBIG") << EFBIG << EFBIG << QString("I/O error %1").arg(EFBIG);
    // Numbers that equal one of the codes still read as the system's own error.
    QTest::newRow("EIO is not access denied") << EIO << EIO << QString("I/O error %1").arg(EIO);
    QTest::newRow("EINTR is not too many files")
        << EINTR << EINTR << QString("I/O error %1").arg(EINTR);
}

void TestErrors::systemErrorNumbersMap() {
    QFETCH(int, errorNumber);
    QFETCH(int, code);
    QFETCH(QString, text);
    const EInOutError error = EInOutError::FromErrno(errorNumber);
    QCOMPARE(error.code(), code);
    QCOMPARE(QString::fromUtf8(error.what()), text);
}

int RunErrorTests(int argc, char** argv) {
    TestErrors tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "TestErrors.moc"
