#include "DurableWrite.h"
#include "FileHelpers.h"
#include "InOutError.h"
#include "TemporaryFiles.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ino_t InodeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

mode_t ModeOf(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

// Caps the size of files this process may write, as a full disk would, until destroyed.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit capped = saved_;
        capped.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &capped);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedHandler_);
    }

private:
    rlimit saved_{};
    void (*savedHandler_)(int) = SIG_DFL;
};

QString ErrorOfWrite(const QString& path, const QByteArray& bytes) {
    try {
        WriteFileDurably(path, bytes);
    } catch (const EInOutError& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

} // namespace

class TestDurableWrite : public QObject {
    Q_OBJECT
private slots:
    void replacesExistingFileWhole();
    void failuresLeaveEverythingAsItWas_data();
    void failuresLeaveEverythingAsItWas();
    void failedWriteKeepsTheOldFile();
    void staleTemporaryFilesAreRemoved_data();
    void staleTemporaryFilesAreRemoved();
};

void TestDurableWrite::replacesExistingFileWhole() {
    QTemporaryDir dir;
    const QString path = dir.filePath("car1.q5t");
    const QString keptLink = dir.filePath("old-link");
    WriteBytes(path, QByteArray(500, 'x'));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0640) == 0);
    QVERIFY(::link(QFile::encodeName(path).constData(), QFile::encodeName(keptLink).constData()) ==
            0);
    const ino_t oldInode = InodeOf(path);

    WriteFileDurably(path, QByteArray(268, 'n'));

    QCOMPARE(ReadBytes(path), QByteArray(268, 'n'));
    QCOMPARE(ModeOf(path), mode_t{0640});
    // A new file took the name; the old one was never truncated in place.
    QVERIFY(InodeOf(path) != oldInode);
    QCOMPARE(ReadBytes(keptLink), QByteArray(500, 'x'));
    QCOMPARE(EntriesOf(dir.path()), (QStringList{"car1.q5t", "old-link"}));
}

void TestDurableWrite::failuresLeaveEverythingAsItWas_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("error");
    QTest::newRow("target is a directory") << "folder.q5t"
                                           << "File access denied";
    QTest::newRow("directory missing") << "missing/car.q5t"
                                       << "File not found";
    QTest::newRow("directory is a regular file")
        << "plain/car.q5t" << QString("I/O error %1").arg(ENOTDIR);
}

void TestDurableWrite::failuresLeaveEverythingAsItWas() {
    QFETCH(QString, target);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder.q5t"));
    WriteBytes(dir.filePath("folder.q5t/inside"), "inside");
    WriteBytes(dir.filePath("plain"), "plain");
    const QStringList before = EntriesOf(dir.path());

    QCOMPARE(ErrorOfWrite(dir.filePath(target), QByteArray(268, 'n')), error);

    QCOMPARE(EntriesOf(dir.path()), before);
    QCOMPARE(EntriesOf(dir.filePath("folder.q5t")), QStringList{"inside"});
    QCOMPARE(ReadBytes(dir.filePath("folder.q5t/inside")), QByteArray("inside"));
    QCOMPARE(ReadBytes(dir.filePath("plain")), QByteArray("plain"));
}

void TestDurableWrite::failedWriteKeepsTheOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath("car1.q5t");
    WriteBytes(path, QByteArray(500, 'x'));
    QString error;
    {
        const FileSizeLimit limit(100);
        error = ErrorOfWrite(path, QByteArray(268, 'n'));
    }
    QCOMPARE(error, QString("I/O error %1").arg(EFBIG));
    QCOMPARE(ReadBytes(path), QByteArray(500, 'x'));
    QCOMPARE(EntriesOf(dir.path()), QStringList{"car1.q5t"});
}

void TestDurableWrite::staleTemporaryFilesAreRemoved_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("ageSeconds");
    QTest::addColumn<bool>("removed");
    const qint64 stale = TemporaryFiles::StaleAfterSeconds;
    QTest::newRow("old") << ".q5-0123456789abcdef.tmp" << stale + 60 << true;
    QTest::newRow("fresh") << ".q5-0123456789abcdef.tmp" << qint64(0) << false;
    QTest::newRow("just under the age") << ".q5-0123456789abcdef.tmp" << stale - 30 << false;
    QTest::newRow("another pattern") << ".q5-notmine.tmp" << stale * 10 << false;
    QTest::newRow("capital digits") << ".q5-0123456789ABCDEF.tmp" << stale * 10 << false;
    QTest::newRow("longer name") << ".q5-0123456789abcdef0.tmp" << stale * 10 << false;
    QTest::newRow("a settings file") << "car2.q5t" << stale * 10 << false;
}

void TestDurableWrite::staleTemporaryFilesAreRemoved() {
    QFETCH(QString, name);
    QFETCH(qint64, ageSeconds);
    QFETCH(bool, removed);
    QTemporaryDir dir;
    const QString left = dir.filePath(name);
    WriteBytes(left, QByteArray(100, 't'));
    QFile file(left);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-ageSeconds),
                             QFileDevice::FileModificationTime));
    file.close();

    WriteFileDurably(dir.filePath("car1.q5t"), QByteArray(268, 'n'));

    QCOMPARE(QFile::exists(left), !removed);
    QCOMPARE(ReadBytes(dir.filePath("car1.q5t")), QByteArray(268, 'n'));
}

int RunDurableWriteTests(int argc, char** argv) {
    TestDurableWrite tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "TestDurableWrite.moc"
