#pragma once
// The file operations a power cut may interrupt, each as an endless worker loop over one
// directory and a check of what a killed worker left there. Every loop records in
// "<dir>/acks" what it finished; a check compares the files with the last of it.

#include <QString>

#include <cstdint>

#include <functional>
#include <vector>

struct Operation {
    const char* name;
    // Runs until killed.
    std::function<void(const QString& directory)> work;
    // Empty when the files are as they must be, else what is wrong. May repair what the
    // program itself repairs on its next run (it opens the journal or the log once more).
    std::function<QString(const QString& directory)> check;
    // What a power cut may take besides: the bytes appended after the last operation that was
    // reported done were not synced yet, so any part of them may be missing. Nothing for
    // files that are replaced whole.
    std::function<void(const QString& directory)> tear;
};

const std::vector<Operation>& Operations();

QString AcksPath(const QString& directory);

// Cuts the file at a random length between `synced` and its end.
void CutAfter(const QString& path, qint64 synced);
