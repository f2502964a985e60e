#include "HistoryStore.h"

#include "SearchKey.h"
#include "StoreDatabase.h"
#include "StoreStatement.h"
#include "Vin.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

const QString TimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

const char* KindName(FileKind kind) {
    switch (kind) {
    case FileKind::Point:
        return "point";
    case FileKind::Journal:
        return "journal";
    case FileKind::Log:
        return "log";
    case FileKind::Sheet:
        return "sheet";
    case FileKind::Saved:
        return "saved";
    case FileKind::Loaded:
        return "loaded";
    }
    return "log";
}

std::optional<FileKind> KindOf(const QString& name) {
    for (FileKind kind : {FileKind::Point, FileKind::Journal, FileKind::Log, FileKind::Sheet,
                          FileKind::Saved, FileKind::Loaded})
        if (name == QLatin1String(KindName(kind)))
            return kind;
    return std::nullopt;
}

QVariant Nullable(std::optional<int> value) {
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::Int));
}

std::optional<int> IntOf(const QVariant& value) {
    return value.isNull() ? std::nullopt : std::optional<int>(value.toInt());
}

// A prepared statement of the history's tables.
class Statement : public StoreStatement {
public:
    Statement(const StoreDatabase& store, const QString& sql)
        : StoreStatement(store.Db(), sql, QStringLiteral("История приборов недоступна: %1")) {}
};

const QString ControllerColumns =
    QStringLiteral("c.serial, c.make, c.model, c.year, c.engine, c.plate, c.vin, c.owner_name, "
                   "c.owner_phone, c.notes, c.service_date, c.service_odometer, c.service_text, "
                   "(SELECT MAX(v.time) FROM visits v WHERE v.serial = c.serial)");

KnownController ControllerOf(const QSqlQuery& query) {
    KnownController known;
    known.serial = query.value(0).toString();
    VehicleCard& card = known.card;
    card.make = query.value(1).toString();
    card.model = query.value(2).toString();
    card.year = query.value(3).toString();
    card.engine = query.value(4).toString();
    card.plate = query.value(5).toString();
    card.vin = query.value(6).toString();
    card.ownerName = query.value(7).toString();
    card.ownerPhone = query.value(8).toString();
    card.notes = query.value(9).toString();
    const QString date = query.value(10).toString();
    if (!date.isEmpty())
        known.service.date = QDate::fromString(date, Qt::ISODate);
    known.service.odometer = IntOf(query.value(11));
    known.service.text = query.value(12).toString();
    known.lastVisit = HistoryStore::TimeOf(query.value(13).toString());
    return known;
}

QString KeyOf(const QString& serial, const VehicleCard& card) {
    return SearchKey::Folded(serial) + u'\n' + SearchKey::Folded(card.plate) + u'\n' +
           SearchKey::Folded(card.vin) + u'\n' + SearchKey::Folded(card.ownerName);
}

QString LikePattern(const QString& folded) {
    QString escaped = folded;
    escaped.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'%', QStringLiteral("\\%"))
        .replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

} // namespace

QString HistoryStore::SerialKey(const QString& shown) {
    qsizetype end = shown.size();
    while (end > 0 && shown[end - 1] == u' ')
        --end;
    return shown.left(end);
}

QString HistoryStore::TimeText(const QDateTime& time) {
    return time.toString(TimeFormat);
}

QDateTime HistoryStore::TimeOf(const QString& text) {
    return QDateTime::fromString(text, TimeFormat);
}

void HistoryStore::Know(const QString& serial) {
    if (serial.isEmpty())
        return;
    Statement(store_, QStringLiteral("INSERT OR IGNORE INTO controllers (serial, search_key) "
                                     "VALUES (?, ?)"))
        .Bind(serial)
        .Bind(KeyOf(serial, {}))
        .Run();
}

qint64 HistoryStore::RecordVisit(const Visit& visit) {
    qint64 id = 0;
    Atomically([&] {
        Know(visit.serial);
        // The store found again from the files holds this connection's restore point as a
        // visit of its own: it is this one.
        if (!visit.point.isEmpty())
            Statement(store_,
                      QStringLiteral("DELETE FROM visits WHERE journal_from IS NULL AND point = ? "
                                     "AND id = (SELECT id FROM visits WHERE serial = ? "
                                     "ORDER BY time DESC, id DESC LIMIT 1)"))
                .Bind(visit.point)
                .Bind(visit.serial)
                .Run();
        Statement statement(
            store_, QStringLiteral(
                        "INSERT INTO visits (serial, time, workshop, "
                        "technician, odometer, point, journal_from) VALUES (?, ?, ?, ?, ?, ?, ?)"));
        statement.Bind(visit.serial)
            .Bind(TimeText(visit.time))
            .Bind(visit.workshop)
            .Bind(visit.technician)
            .Bind(Nullable(visit.odometer))
            .Bind(visit.point)
            .Bind(Nullable(visit.journalFrom));
        QSqlQuery& query = statement.Run();
        id = query.lastInsertId().toLongLong();
    });
    return id;
}

void HistoryStore::SetOdometer(qint64 visitId, std::optional<int> odometer) {
    Statement(store_, QStringLiteral("UPDATE visits SET odometer = ? WHERE id = ?"))
        .Bind(Nullable(odometer))
        .Bind(visitId)
        .Run();
}

std::vector<Visit> HistoryStore::Visits(const QString& serial) const {
    Statement statement(
        store_,
        QStringLiteral("SELECT id, time, workshop, technician, odometer, point, journal_from "
                       "FROM visits WHERE serial = ? ORDER BY time DESC, id DESC"));
    statement.Bind(serial);
    QSqlQuery& query = statement.Run();
    std::vector<Visit> visits;
    while (query.next())
        visits.push_back({query.value(0).toLongLong(), serial, TimeOf(query.value(1).toString()),
                          query.value(2).toString(), query.value(3).toString(),
                          IntOf(query.value(4)), query.value(5).toString(), IntOf(query.value(6))});
    return visits;
}

std::optional<int> HistoryStore::LastOdometer(const QString& serial) const {
    Statement statement(store_,
                        QStringLiteral("SELECT MAX(odometer) FROM visits WHERE serial = ?"));
    statement.Bind(serial);
    QSqlQuery& query = statement.Run();
    return query.next() ? IntOf(query.value(0)) : std::nullopt;
}

int HistoryStore::VisitCount(const QString& serial) const {
    Statement statement(store_, QStringLiteral("SELECT COUNT(*) FROM visits WHERE serial = ?"));
    statement.Bind(serial);
    QSqlQuery& query = statement.Run();
    return query.next() ? query.value(0).toInt() : 0;
}

std::optional<KnownController> HistoryStore::Controller(const QString& serial) const {
    Statement statement(
        store_,
        QStringLiteral("SELECT %1 FROM controllers c WHERE c.serial = ?").arg(ControllerColumns));
    statement.Bind(serial);
    QSqlQuery& query = statement.Run();
    if (!query.next())
        return std::nullopt;
    return ControllerOf(query);
}

std::optional<QString> HistoryStore::SaveCard(const QString& serial, const VehicleCard& card) {
    if (!card.vin.isEmpty())
        if (const std::optional<QString> refusal = Vin::Refusal(card.vin))
            return refusal;
    Atomically([&] {
        Know(serial);
        Statement(store_, QStringLiteral("UPDATE controllers SET make = ?, model = ?, year = ?, "
                                         "engine = ?, plate = ?, vin = ?, owner_name = ?, "
                                         "owner_phone = ?, notes = ?, search_key = ? "
                                         "WHERE serial = ?"))
            .Bind(card.make)
            .Bind(card.model)
            .Bind(card.year)
            .Bind(card.engine)
            .Bind(card.plate)
            .Bind(card.vin)
            .Bind(card.ownerName)
            .Bind(card.ownerPhone)
            .Bind(card.notes)
            .Bind(KeyOf(serial, card))
            .Bind(serial)
            .Run();
    });
    return std::nullopt;
}

void HistoryStore::SaveService(const QString& serial, const NextService& service) {
    Atomically([&] {
        Know(serial);
        Statement(store_, QStringLiteral("UPDATE controllers SET service_date = ?, "
                                         "service_odometer = ?, service_text = ? WHERE serial = ?"))
            .Bind(service.date ? QVariant(service.date->toString(Qt::ISODate))
                               : QVariant(QMetaType(QMetaType::QString)))
            .Bind(Nullable(service.odometer))
            .Bind(service.text)
            .Bind(serial)
            .Run();
    });
}

void HistoryStore::ClearOwner(const QString& serial) {
    std::optional<KnownController> known = Controller(serial);
    if (!known)
        return;
    known->card.ownerName.clear();
    known->card.ownerPhone.clear();
    SaveCard(serial, known->card);
}

void HistoryStore::IndexFile(const IndexedFile& file) {
    Atomically([&] {
        Know(file.serial);
        Statement(store_, QStringLiteral("INSERT OR REPLACE INTO files (serial, kind, path, time) "
                                         "VALUES (?, ?, ?, ?)"))
            .Bind(file.serial)
            .Bind(QString::fromLatin1(KindName(file.kind)))
            .Bind(file.path)
            .Bind(TimeText(file.time))
            .Run();
    });
}

std::vector<IndexedFile> HistoryStore::Files(const QString& serial) const {
    Statement statement(store_, QStringLiteral("SELECT kind, path, time FROM files "
                                               "WHERE serial = ? ORDER BY time, id"));
    statement.Bind(serial);
    QSqlQuery& query = statement.Run();
    std::vector<IndexedFile> files;
    while (query.next())
        if (const std::optional<FileKind> kind = KindOf(query.value(0).toString()))
            files.push_back(
                {serial, *kind, query.value(1).toString(), TimeOf(query.value(2).toString())});
    return files;
}

std::vector<KnownController> HistoryStore::Search(const QString& text, int limit) const {
    // Each controller's last visit in one pass over the visits' index, not one look-up a row.
    Statement statement(
        store_,
        QStringLiteral("SELECT %1 FROM controllers c LEFT JOIN (SELECT serial, "
                       "MAX(time) AS last FROM visits GROUP BY serial) v "
                       "ON v.serial = c.serial WHERE c.search_key LIKE ? ESCAPE '\\' "
                       "ORDER BY v.last IS NULL, v.last DESC, c.serial LIMIT ?")
            .arg(QString(ControllerColumns)
                     .replace(QStringLiteral("(SELECT MAX(v.time) FROM visits v WHERE v.serial = "
                                             "c.serial)"),
                              QStringLiteral("v.last"))));
    statement.Bind(LikePattern(SearchKey::Folded(text))).Bind(limit);
    QSqlQuery& query = statement.Run();
    std::vector<KnownController> found;
    while (query.next())
        found.push_back(ControllerOf(query));
    return found;
}

std::vector<KnownController> HistoryStore::Due(const QDate& today) const {
    Statement statement(store_,
                        QStringLiteral("SELECT %1, (SELECT MAX(v.odometer) FROM visits v "
                                       "WHERE v.serial = c.serial) FROM controllers c "
                                       "WHERE c.service_date IS NOT NULL "
                                       "OR c.service_odometer IS NOT NULL ORDER BY c.service_date")
                            .arg(ControllerColumns));
    QSqlQuery& query = statement.Run();
    std::vector<KnownController> due;
    while (query.next()) {
        KnownController known = ControllerOf(query);
        if (known.service.DueOn(today, IntOf(query.value(14))))
            due.push_back(std::move(known));
    }
    return due;
}

bool HistoryStore::IsEmpty() const {
    Statement statement(store_, QStringLiteral("SELECT COUNT(*) FROM controllers"));
    QSqlQuery& query = statement.Run();
    return !query.next() || query.value(0).toInt() == 0;
}

void HistoryStore::Batch(const std::function<void()>& work) {
    store_.Transaction([&] {
        inBatch_ = true;
        try {
            work();
        } catch (...) {
            inBatch_ = false;
            throw;
        }
        inBatch_ = false;
    });
}

void HistoryStore::Atomically(const std::function<void()>& work) {
    if (inBatch_)
        work();
    else
        store_.Transaction(work);
}
