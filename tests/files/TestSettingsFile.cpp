#include "Catalogue.h"
#include "FileHelpers.h"
#include "IdentityWords.h"
#include "InOutError.h"
#include "SettingsCheck.h"
#include "SettingsFile.h"

#include <QtTest>

#include <functional>

namespace {

SettingsRecords::Entries SampleEntries() {
    SettingsRecords::Entries entries{};
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i] = {static_cast<uint16_t>(0x1234 + i * 0x0101), static_cast<uint8_t>(i * 7 + 3)};
    return entries;
}

// The text of the EInOutError the call throws, or "" when it throws none.
QString InOutErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const EInOutError& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT
private slots:
    void recordLayout_data();
    void recordLayout();
    void savedFileLoadsBackIgnoringBytesTwoAndThree();
    void shortFilesAreRefusedWhole_data();
    void shortFilesAreRefusedWhole();
    void longFileGivesItsFirstRecords();
    void filesThatCannotBeOpened_data();
    void filesThatCannotBeOpened();
    void extensionRule_data();
    void extensionRule();
    void wordsJudgedByTheirBindings_data();
    void wordsJudgedByTheirBindings();
};

void TestSettingsFile::wordsJudgedByTheirBindings_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("named"); // empty: the file passes
    for (const Catalogue::Entry& entry : Catalogue::All())
        if (entry.encode && entry.space == Catalogue::Space::Param &&
            Catalogue::SetterOf(*entry.address) == &entry)
            for (const long double bound : {entry.min, entry.max})
                QTest::addRow("%s at %s", entry.control, bound == entry.min ? "min" : "max")
                    << int(*entry.address) << int(EncodeValue(*entry.encode, bound)) << "";
    QTest::newRow("three coils") << 39 << 2 << "Количество катушек зажигания";
    QTest::newRow("throttling below -99 %") << 42 << 64521 << "Дросселирование";
    QTest::newRow("throttling above 500 %") << 42 << 5121 << "Дросселирование";
    QTest::newRow("damping beyond the slider") << 97 << 7 << "Коэффициент демпфирования";
}

// Every other word at its control's lowest: whatever a control writes within its bounds passes.
void TestSettingsFile::wordsJudgedByTheirBindings() {
    QFETCH(int, address);
    QFETCH(int, word);
    QFETCH(QString, named);
    SettingsRecords::Entries entries{};
    for (const Catalogue::Entry& entry : Catalogue::All())
        if (entry.encode && entry.space == Catalogue::Space::Param)
            entries[*entry.address - SettingsRecords::FirstAddress].word =
                EncodeValue(*entry.encode, entry.min);
    entries[IdentityWords::Address - SettingsRecords::FirstAddress].word = IdentityWords::Value;
    entries[address - SettingsRecords::FirstAddress].word = static_cast<uint16_t>(word);
    const SettingsCheck::Findings found = SettingsCheck::Examine(SettingsRecords::Build(entries));
    QCOMPARE(found.outOfRange, named.isEmpty() ? QStringList() : QStringList{named});
}

void TestSettingsFile::recordLayout_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("offset");
    QTest::newRow("first, 33") << 33 << 0;
    QTest::newRow("last, 99") << 99 << 264;
}

void TestSettingsFile::recordLayout() {
    QFETCH(int, address);
    QFETCH(int, offset);
    const SettingsRecords::Entries entries = SampleEntries();
    const QByteArray bytes = SettingsRecords::Build(entries);
    QCOMPARE(bytes.size(), 268);
    const SettingsRecords::Entry entry = entries[static_cast<std::size_t>(address - 33)];
    QCOMPARE(static_cast<uint8_t>(bytes[offset]), static_cast<uint8_t>(entry.word & 0xFF));
    QCOMPARE(static_cast<uint8_t>(bytes[offset + 1]), static_cast<uint8_t>(entry.word >> 8));
    QCOMPARE(static_cast<uint8_t>(bytes[offset + 2]), entry.replyChecksum);
    QCOMPARE(bytes[offset + 3], '\0');
}

void TestSettingsFile::savedFileLoadsBackIgnoringBytesTwoAndThree() {
    QTemporaryDir dir;
    const QString path = dir.filePath("car1.q5t");
    const SettingsRecords::Entries entries = SampleEntries();
    SettingsFile::Write(path, entries);
    QCOMPARE(ReadBytes(path), SettingsRecords::Build(entries));
    const SettingsRecords::Words words = SettingsFile::ReadWords(path);
    for (std::size_t i = 0; i < words.size(); ++i)
        QCOMPARE(words[i], entries[i].word);

    QByteArray odd = ReadBytes(path);
    for (int offset = 0; offset < odd.size(); offset += 4)
        odd.replace(offset + 2, 2, "\xAA\x55");
    WriteBytes(path, odd);
    QVERIFY(SettingsFile::ReadWords(path) == words);
}

void TestSettingsFile::shortFilesAreRefusedWhole_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("25 records and part of one") << 100;
    QTest::newRow("one byte short") << 267;
}

void TestSettingsFile::shortFilesAreRefusedWhole() {
    QFETCH(int, size);
    QTemporaryDir dir;
    const QString path = dir.filePath("short.q5t");
    const QByteArray bytes = SettingsRecords::Build(SampleEntries()).left(size);
    WriteBytes(path, bytes);
    bool returned = false;
    const QString error = InOutErrorOf([&] {
        SettingsFile::ReadWords(path);
        returned = true;
    });
    QCOMPARE(error, QStringLiteral("Read beyond end of file"));
    QVERIFY(!returned);
    QCOMPARE(ReadBytes(path), bytes);
}

void TestSettingsFile::longFileGivesItsFirstRecords() {
    QTemporaryDir dir;
    const QString path = dir.filePath("long.q5t");
    const QByteArray records = SettingsRecords::Build(SampleEntries());
    WriteBytes(path, records + QByteArray(32, '\xFF'));
    QCOMPARE(SettingsFile::ReadForLoad(path), records);
}

void TestSettingsFile::filesThatCannotBeOpened_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error");
    QTest::newRow("missing") << "missing.q5t"
                             << "File not found";
    QTest::newRow("a directory") << "folder.q5t"
                                 << "File access denied";
    QTest::newRow("under a regular file") << "plain/x.q5t" << QString("I/O error %1").arg(ENOTDIR);
}

void TestSettingsFile::filesThatCannotBeOpened() {
    QFETCH(QString, name);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder.q5t"));
    WriteBytes(dir.filePath("plain"), "plain");
    QCOMPARE(InOutErrorOf([&] { SettingsFile::ReadWords(dir.filePath(name)); }), error);
}

void TestSettingsFile::extensionRule_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("saved");
    QTest::newRow("bare name") << "/data/settings"
                               << "/data/settings.q5t";
    QTest::newRow("has it") << "/data/settings.q5t"
                            << "/data/settings.q5t";
    QTest::newRow("upper case") << "/data/SETTINGS.Q5T"
                                << "/data/SETTINGS.Q5T.q5t";
    QTest::newRow("in the directory name") << "/data/x.q5t/car"
                                           << "/data/x.q5t/car";
    QTest::newRow("inside the name") << "/data/car.q5t.bak"
                                     << "/data/car.q5t.bak";
}

void TestSettingsFile::extensionRule() {
    QFETCH(QString, chosen);
    QFETCH(QString, saved);
    QCOMPARE(SettingsFile::WithExtension(chosen), saved);
}

int RunSettingsFileTests(int argc, char** argv) {
    TestSettingsFile tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "TestSettingsFile.moc"
