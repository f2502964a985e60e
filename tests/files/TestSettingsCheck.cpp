// The check of a settings file judges each word as its control writes and reads it: whatever
// a control writes for a value within its bounds passes, a word beyond them is named.

#include "Catalogue.h"
#include "IdentityWords.h"
#include "SettingsCheck.h"

#include <QtTest>

namespace {

// Every word that a control sets at its lowest value, the identity in its place.
SettingsRecords::Words LowestBlock() {
    SettingsRecords::Words words{};
    for (const Catalogue::Entry& entry : Catalogue::All())
        if (entry.space == Catalogue::Space::Param && entry.address && entry.encode)
            words[static_cast<std::size_t>(*entry.address - SettingsRecords::FirstAddress)] =
                EncodeValue(*entry.encode, entry.min);
    words[IdentityWords::Address - SettingsRecords::FirstAddress] = IdentityWords::Value;
    return words;
}

QByteArray FileOf(const SettingsRecords::Words& words) {
    SettingsRecords::Entries entries{};
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i].word = words[i];
    return SettingsRecords::Build(entries);
}

} // namespace

class TestSettingsCheck : public QObject {
    Q_OBJECT
private slots:
    void wordsByTheirBindings_data();
    void wordsByTheirBindings();
};

void TestSettingsCheck::wordsByTheirBindings_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("named"); // empty: the file passes
    for (const Catalogue::Entry& entry : Catalogue::All()) {
        if (entry.space != Catalogue::Space::Param || !entry.encode ||
            Catalogue::SetterOf(*entry.address) != &entry)
            continue;
        for (const long double bound : {entry.min, entry.max})
            QTest::addRow("%s at %s", entry.control, bound == entry.min ? "min" : "max")
                << int(*entry.address) << int(EncodeValue(*entry.encode, bound)) << QString();
    }
    const QString coils = QStringLiteral("Количество катушек зажигания");
    QTest::newRow("three coils") << 39 << 2 << coils;
    QTest::newRow("throttling just below -99 %") << 42 << 64521 << "Дросселирование";
    QTest::newRow("throttling just above 500 %") << 42 << 5121 << "Дросселирование";
    QTest::newRow("speed limit above 6000") << 92 << 6001 << "Ограничение об/мин";
    QTest::newRow("transition below 20 °C") << 40 << 2929 << "Температура перехода";
    QTest::newRow("a fourth start mode") << 34 << 3 << "Запуск двигателя";
    QTest::newRow("damping beyond the slider") << 97 << 7 << "Коэффициент демпфирования";
}

void TestSettingsCheck::wordsByTheirBindings() {
    QFETCH(int, address);
    QFETCH(int, word);
    QFETCH(QString, named);
    SettingsRecords::Words words = LowestBlock();
    words[static_cast<std::size_t>(address - SettingsRecords::FirstAddress)] =
        static_cast<uint16_t>(word);
    const SettingsCheck::Findings found = SettingsCheck::Examine(FileOf(words));
    QCOMPARE(found.outOfRange, named.isEmpty() ? QStringList() : QStringList{named});
    QCOMPARE(found.Doubtful(), !named.isEmpty());
}

int RunSettingsCheckTests(int argc, char** argv) {
    TestSettingsCheck tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "TestSettingsCheck.moc"
