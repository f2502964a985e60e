#pragma once
// The files a cell starts with: settings files in a temporary directory, and for a numbering
// cell a production log that already holds a numbered controller.

#include "ControllerWords.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <array>
#include <map>

inline constexpr int SettingsWordCount = 67;
inline constexpr int FirstSettingsAddress = 33;
inline constexpr int SettingsFileSize = 268;

class CellFiles {
public:
    // The load file holds the controller's words, each one higher, except the identity word
    // and the options that the window writes back, which it keeps.
    explicit CellFiles(const ControllerWords& controller);

    bool valid() const { return directory_.isValid(); }
    QString directory() const { return directory_.path(); }
    QString existingTarget() const { return directory_.filePath(QStringLiteral("car.q5t")); }
    QString freshTarget() const { return directory_.filePath(QStringLiteral("new.q5t")); }
    QString loadSource() const { return directory_.filePath(QStringLiteral("load.q5t")); }
    uint16_t loadWord(int address) const { return loadWords_.at(address - FirstSettingsAddress); }

private:
    QTemporaryDir directory_;
    std::array<uint16_t, SettingsWordCount> loadWords_{};
};

// A production log with its header and one numbered controller (sequence number 00200).
QByteArray ProductionLogWithOneRecord();

// Every file of a directory with its bytes.
using DirectoryContents = std::map<QString, QByteArray>;
DirectoryContents ContentsOf(const QString& directory);
