#pragma once
// The history window of a controller seen three times: the changes of each visit, the files
// made meanwhile (one of them moved away), its car filled in and its service due.

#include <QDir>

bool SaveHistoryWindow(const QDir& dir);
