#include "HistoryScreen.h"

#include "Catalogue.h"
#include "ChangeJournal.h"
#include "HistoryStore.h"
#include "HistoryWindow.h"
#include "OpenHistory.h"
#include "RestorePoints.h"
#include "SampleWords.h"
#include "ToolData.h"

#include <QCoreApplication>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <cstdio>

namespace {

const QString Serial = QStringLiteral("Тарвик-Q5 ГБО 2002 00120");
const QDate Today(2026, 12, 9);

struct SampleVisit {
    QDateTime time;
    int odometer;
    // The parameters changed during the visit, by address, and how far each word moved.
    std::vector<std::pair<uint8_t, int>> changes;
    // The files made or loaded meanwhile, their names, and whether they are still there.
    std::vector<std::tuple<FileKind, QString, bool>> files;
};

std::vector<SampleVisit> Visits() {
    return {
        {QDateTime(QDate(2026, 6, 12), QTime(9, 40)),
         84210,
         {{40, 50}, {57, 100}},
         {{FileKind::Log, QStringLiteral("00120 2026-06-12 09-52-10.csv"), false},
          {FileKind::Saved, QStringLiteral("Веста А123ВС после настройки.q5t"), true}}},
        {QDateTime(QDate(2026, 9, 3), QTime(14, 15)),
         91530,
         {{61, 50}},
         {{FileKind::Log, QStringLiteral("00120 2026-09-03 14-20-45.csv"), true}}},
        {QDateTime(QDate(2026, 12, 9), QTime(11, 5)),
         98760,
         {{42, -20}, {88, 256}},
         {{FileKind::Sheet, QStringLiteral("Тарвик-Q5 ГБО 2002 00120 2026-12-09.pdf"), true}}},
    };
}

bool Touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

void Fill(HistoryStore& history, const QString& data, const QString& files) {
    const QString name = ToolData::SerialFileName(Serial).value();
    SettingsRecords::Words words = SampleControllerWords();
    int journal = 0;
    for (const SampleVisit& sample : Visits()) {
        SettingsRecords::Entries block{};
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i].word = words[i];
        Visit visit;
        visit.serial = Serial;
        visit.time = sample.time;
        visit.workshop = QStringLiteral("Автосервис «Пропан», Тула");
        visit.technician = QStringLiteral("Иванов И. И.");
        visit.odometer = sample.odometer;
        visit.point = RestorePoints::Keep(data, name, block, sample.time).value_or(QString());
        visit.journalFrom = journal;
        history.RecordVisit(visit);
        int minutes = 5;
        for (const auto& [address, delta] : sample.changes) {
            uint16_t& word = words[address - SettingsRecords::FirstAddress];
            const uint16_t before = word;
            word = static_cast<uint16_t>(word + delta);
            ChangeJournal::Append(data, {sample.time.addSecs(60 * minutes++), Serial, address,
                                         Catalogue::ParamName(address), before, word,
                                         QStringLiteral("Изменение значения"), true});
            ++journal;
        }
        for (const auto& [kind, fileName, kept] : sample.files) {
            const QString path = QDir(files).filePath(fileName);
            if (kept)
                Touch(path);
            history.IndexFile({Serial, kind, path, sample.time.addSecs(60 * minutes++)});
        }
    }
    VehicleCard card;
    card.make = QStringLiteral("Lada");
    card.model = QStringLiteral("Vesta");
    card.year = QStringLiteral("2021");
    card.engine = QStringLiteral("1.6 16V, ВАЗ-21129");
    card.plate = QStringLiteral("А123ВС 71");
    card.vin = QStringLiteral("XTAGFK330MY512345");
    card.ownerName = QStringLiteral("Петров П. П.");
    card.ownerPhone = QStringLiteral("+7 910 555-12-34");
    card.notes = QStringLiteral("ГБО 4-го поколения, баллон 53 л");
    history.SaveCard(Serial, card);
    history.SaveService(Serial,
                        {QDate(2026, 12, 1), 100000, QStringLiteral("замена фильтра газа")});

    // Two other controllers the workshop knows, for the list beside.
    for (const auto& [serial, make, model, plate] :
         {std::tuple{"Тарвик-Q5 ГБО 2003 00348", "Škoda", "Octavia", "Е777КХ 71"},
          std::tuple{"Тарвик-Q5 ГБО 2004 01022", "Hyundai", "Solaris", "М045ОР 50"}}) {
        VehicleCard other;
        other.make = QString::fromUtf8(make);
        other.model = QString::fromUtf8(model);
        other.plate = QString::fromUtf8(plate);
        history.SaveCard(QString::fromUtf8(serial), other);
        history.RecordVisit({0,
                             QString::fromUtf8(serial),
                             QDateTime(QDate(2026, 11, 20), QTime(16, 30)),
                             {},
                             {},
                             {},
                             {},
                             {}});
    }
}

} // namespace

bool SaveHistoryWindow(const QDir& dir) {
    const QTemporaryDir data, files;
    const HistoryPlace place{data.path(), {files.path()}};
    {
        OpenedHistory opened = OpenHistory(place);
        HistoryStore history(*opened.store);
        history.Batch([&] { Fill(history, data.path(), files.path()); });
    }
    HistoryWindow window(place, {}, [] { return Today; });
    window.ShowController(Serial);
    window.show();
    QCoreApplication::processEvents();
    const QString path = dir.filePath(QStringLiteral("history_window.png"));
    const bool saved = window.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}
