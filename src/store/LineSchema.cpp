#include "LineSchema.h"

const Schema& LineSchema() {
    static const Schema schema{
        QStringLiteral("line"),
        {{1,
          {QStringLiteral("CREATE TABLE line_counters ("
                          "product VARCHAR(24) PRIMARY KEY, "
                          "last_sequence INTEGER NOT NULL)"),
           QStringLiteral("CREATE TABLE line_numbers ("
                          "product VARCHAR(24) NOT NULL, "
                          "year INTEGER NOT NULL, "
                          "sequence INTEGER NOT NULL, "
                          "serial VARCHAR(24) NOT NULL UNIQUE, "
                          "state VARCHAR(12) NOT NULL, "
                          "attempt_uid VARCHAR(40) NOT NULL, "
                          "pc VARCHAR(64) NOT NULL, "
                          "station INTEGER NOT NULL, "
                          "taken_at VARCHAR(24) NOT NULL, "
                          "changed_at VARCHAR(24) NOT NULL, "
                          "PRIMARY KEY (product, year, sequence))"),
           QStringLiteral("CREATE TABLE line_attempts ("
                          "uid VARCHAR(40) PRIMARY KEY, "
                          "at VARCHAR(24) NOT NULL, "
                          "day VARCHAR(10) NOT NULL, "
                          "pc VARCHAR(64) NOT NULL, "
                          "station INTEGER NOT NULL, "
                          "operator VARCHAR(128) NOT NULL, "
                          "serial VARCHAR(24) NOT NULL, "
                          "made VARCHAR(8) NOT NULL, "
                          "reference VARCHAR(260) NOT NULL, "
                          "sha256 VARCHAR(64) NOT NULL, "
                          "good INTEGER NOT NULL, "
                          "reason TEXT NOT NULL, "
                          "differed TEXT NOT NULL, "
                          "duration_ms BIGINT NOT NULL, "
                          "attempt INTEGER NOT NULL, "
                          "number_taken VARCHAR(24) NOT NULL)"),
           QStringLiteral("CREATE INDEX line_attempts_at ON line_attempts (at)"),
           QStringLiteral("CREATE INDEX line_attempts_serial ON line_attempts (serial)"),
           QStringLiteral("CREATE TABLE line_days ("
                          "day VARCHAR(10) NOT NULL, "
                          "pc VARCHAR(64) NOT NULL, "
                          "station INTEGER NOT NULL, "
                          "attempts INTEGER NOT NULL, "
                          "good INTEGER NOT NULL, "
                          "first_attempts INTEGER NOT NULL, "
                          "first_good INTEGER NOT NULL, "
                          "PRIMARY KEY (day, pc, station))")},
          {}},
         // The units' labels.
         {2,
          {QStringLiteral("ALTER TABLE line_attempts ADD COLUMN label VARCHAR(16) NOT NULL "
                          "DEFAULT ''"),
           QStringLiteral("ALTER TABLE line_attempts ADD COLUMN label_check VARCHAR(32) NOT NULL "
                          "DEFAULT ''"),
           QStringLiteral("ALTER TABLE line_attempts ADD COLUMN label_reprints INTEGER NOT NULL "
                          "DEFAULT 0")},
          {}}}};
    return schema;
}
