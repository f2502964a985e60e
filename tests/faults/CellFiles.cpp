#include "CellFiles.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <iterator>

namespace {

constexpr uint8_t KeptInLoadFile[] = {47, 51, 91, 93, 97};

// Records of a settings file: the word low byte first, a checksum byte a load ignores, zero.
QByteArray SettingsBytes(const std::array<uint16_t, SettingsWordCount>& words) {
    QByteArray bytes;
    for (const uint16_t word : words) {
        bytes += static_cast<char>(word & 0xFF);
        bytes += static_cast<char>(word >> 8);
        bytes += '\xAB';
        bytes += '\0';
    }
    return bytes;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// One 42-byte log record: length-prefixed serial, separator, date and line end.
QByteArray LogRecord(const QByteArray& serial, const QByteArray& date) {
    return char(24) + serial + char(4) + QByteArray(" ** ") + char(8) + date + char(2) +
           QByteArray("\r\n");
}

} // namespace

CellFiles::CellFiles(const ControllerWords& controller) {
    std::array<uint16_t, SettingsWordCount> existing{};
    for (int i = 0; i < SettingsWordCount; ++i) {
        const int address = FirstSettingsAddress + i;
        const bool kept = std::find(std::begin(KeptInLoadFile), std::end(KeptInLoadFile),
                                    address) != std::end(KeptInLoadFile);
        const uint16_t word = controller.params[address];
        loadWords_[i] = kept ? word : static_cast<uint16_t>(word + 1);
        existing[i] = static_cast<uint16_t>(address * 3);
    }
    if (!WriteFile(existingTarget(), SettingsBytes(existing)) ||
        !WriteFile(loadSource(), SettingsBytes(loadWords_)))
        directory_.remove();
}

QByteArray ProductionLogWithOneRecord() {
    // "Начало протокола   00113" in Windows-1251.
    const QByteArray header(
        "\xCD\xE0\xF7\xE0\xEB\xEE \xEF\xF0\xEE\xF2\xEE\xEA\xEE\xEB\xE0   00113");
    return LogRecord(header, "01.02.03") + LogRecord("Q5 test controller 00200", "04.05.06");
}

DirectoryContents ContentsOf(const QString& directory) {
    DirectoryContents contents;
    const QDir dir(directory);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile file(dir.filePath(name));
        contents[name] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?");
    }
    return contents;
}
