#include "HistorySchema.h"

const Schema& HistorySchema() {
    // A visit's changes are the journal's records from its `journal_from` (how many the journal
    // held when it began) to the next visit's; times are local, "yyyy-MM-ddTHH:mm:ss"; paths
    // absolute. The files stay where they are: the table `files` only says where each was when it
    // was made.
    static const Schema schema{
        QStringLiteral("history"),
        {{1,
          {QStringLiteral("CREATE TABLE controllers ("
                          "serial TEXT PRIMARY KEY, "
                          "make TEXT NOT NULL DEFAULT '', model TEXT NOT NULL DEFAULT '', "
                          "year TEXT NOT NULL DEFAULT '', engine TEXT NOT NULL DEFAULT '', "
                          "plate TEXT NOT NULL DEFAULT '', vin TEXT NOT NULL DEFAULT '', "
                          "owner_name TEXT NOT NULL DEFAULT '', "
                          "owner_phone TEXT NOT NULL DEFAULT '', "
                          "notes TEXT NOT NULL DEFAULT '', "
                          "service_date TEXT, service_odometer INTEGER, "
                          "service_text TEXT NOT NULL DEFAULT '', "
                          "search_key TEXT NOT NULL DEFAULT '')"),
           QStringLiteral(
               "CREATE TABLE visits ("
               "id INTEGER PRIMARY KEY, serial TEXT NOT NULL, time TEXT NOT NULL, "
               "workshop TEXT NOT NULL DEFAULT '', "
               "technician TEXT NOT NULL DEFAULT '', "
               "odometer INTEGER, point TEXT NOT NULL DEFAULT '', journal_from INTEGER)"),
           QStringLiteral("CREATE INDEX visits_by_serial ON visits (serial, time)"),
           QStringLiteral("CREATE TABLE files ("
                          "id INTEGER PRIMARY KEY, serial TEXT NOT NULL, kind TEXT NOT NULL, "
                          "path TEXT NOT NULL, time TEXT NOT NULL, UNIQUE (kind, path))"),
           QStringLiteral("CREATE INDEX files_by_serial ON files (serial, time)")},
          {}}}};
    return schema;
}
