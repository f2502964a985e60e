#pragma once
// The reference settings file every unit of a batch receives: read and checked as a load
// checks it, its words, and its SHA-256, which is checked again before each unit.

#include "SettingsCheck.h"
#include "SettingsRecords.h"

#include <QString>

struct ReferenceFile {
    QString path;
    QString name;   // the file's name without its folder
    QString sha256; // hex, of the whole file
    SettingsRecords::Words words{};
    SettingsCheck::Findings findings; // doubtful findings, asked about once at setup

    // Reads the file once and checks it: the words and the findings are of the very bytes
    // whose SHA-256 is kept. Throws EInOutError for a file that cannot be read or is short,
    // std::runtime_error with ForeignFileText() for a file of another controller.
    static ReferenceFile Load(const QString& path);

    // The SHA-256 of the file as it is now; empty when it cannot be read.
    static QString Sha256Of(const QString& path);

    // True while the file on disk is still the one loaded.
    bool Unchanged() const;
};
