#pragma once
// The controllers' history as the store keeps it: who each controller is (its vehicle card and
// next service), its visits, and where the files made of it were put. Window-free; handed the
// open store, used on its thread. Errors of the store are thrown as StoreError.

#include "VehicleCard.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class StoreDatabase;

// The files the tool keeps or makes of a controller.
enum class FileKind { Point, Journal, Log, Sheet, Saved, Loaded };

struct Visit {
    qint64 id = 0;
    QString serial; // as shown, without the blanks around it
    QDateTime time; // local, whole seconds
    QString workshop, technician;
    std::optional<int> odometer; // km, when given
    QString point;               // the restore point of what the connection read
    // How many records the controller's journal held when the visit began; none when not
    // known (a visit found again from its restore point), and its time decides.
    std::optional<int> journalFrom;
};

struct IndexedFile {
    QString serial;
    FileKind kind = FileKind::Log;
    QString path;
    QDateTime time;
};

// One known controller as a list shows it.
struct KnownController {
    QString serial;
    VehicleCard card;
    NextService service;
    QDateTime lastVisit; // invalid when none
};

class HistoryStore {
public:
    explicit HistoryStore(StoreDatabase& store) : store_(store) {}

    // Makes the controller known (nothing when it is); an empty serial number is none.
    void Know(const QString& serial);
    qint64 RecordVisit(const Visit& visit);
    void SetOdometer(qint64 visitId, std::optional<int> odometer);
    // Newest first.
    std::vector<Visit> Visits(const QString& serial) const;
    std::optional<int> LastOdometer(const QString& serial) const;
    int VisitCount(const QString& serial) const;

    // The card of a known controller; none for an unknown one.
    std::optional<KnownController> Controller(const QString& serial) const;
    // Refused, with the reason and nothing stored, when the VIN is no VIN.
    std::optional<QString> SaveCard(const QString& serial, const VehicleCard& card);
    void SaveService(const QString& serial, const NextService& service);
    // Empties the owner's name and phone.
    void ClearOwner(const QString& serial);

    void IndexFile(const IndexedFile& file);
    // Oldest first.
    std::vector<IndexedFile> Files(const QString& serial) const;

    // The known controllers whose serial number, plate, VIN or owner holds `text`, however it
    // is typed (SearchKey), the last seen first; every one for an empty text. At most `limit`.
    std::vector<KnownController> Search(const QString& text, int limit = 200) const;
    // Those whose next service is due on `today`.
    std::vector<KnownController> Due(const QDate& today) const;
    bool IsEmpty() const;

    // Runs `work` as one transaction of the store; what it records goes in together.
    void Batch(const std::function<void()>& work);

    // A serial number as the history keys it: as shown, without the blanks that pad it.
    static QString SerialKey(const QString& shown);
    static QString TimeText(const QDateTime& time);
    static QDateTime TimeOf(const QString& text);

private:
    void Atomically(const std::function<void()>& work);

    StoreDatabase& store_;
    bool inBatch_ = false;
};
