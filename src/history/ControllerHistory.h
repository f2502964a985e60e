#pragma once
// One controller's visits as the history window lists them, newest first: each with what the
// connection read (its restore point), the changes made until the next visit (from the
// journal), and the files saved, loaded, recorded and printed meanwhile. Files are checked for
// where they were put; one moved away is named so and the rest still opens.

#include "HistoryStore.h"

#include <QDateTime>
#include <QString>

#include <vector>

struct VisitItem {
    enum class Kind { Point, Change, Log, Sheet, Saved, Loaded };
    Kind kind = Kind::Change;
    QString text; // as the window shows it
    QString path; // the file it names; empty for a change
    bool missing = false;
};

struct VisitEntry {
    Visit visit;
    std::vector<VisitItem> items;
};

namespace ControllerHistory {

// `dataFolder` holds the controller's journal (ChangeJournal).
std::vector<VisitEntry> Of(const HistoryStore& store, const QString& serial,
                           const QString& dataFolder);

// "09.12.2026 14:05 · Мастерская · Мастер · 123 456 км".
QString VisitTitle(const Visit& visit);

// "1 посещение", "3 посещения", "12 посещений".
QString VisitsText(int count);

// What a visit's item says of a file that is not where it was put.
inline const QString MissingText = QStringLiteral("файл не найден");

} // namespace ControllerHistory
