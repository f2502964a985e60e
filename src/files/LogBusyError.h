#pragma once
// Another station held the production log longer than a numbering waits for it. Nothing was
// written to the log or the controller. Shown by the application's error handler like the
// file errors; what() is UTF-8.

#include <QString>

#include <stdexcept>

class ELogBusy : public std::runtime_error {
public:
    // `holder` names the station that holds the log, empty when it is not known.
    ELogBusy(const QString& logPath, const QString& holder);
};
