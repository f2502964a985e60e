// Any bytes of any length as a settings file: a load either refuses it whole with "Read
// beyond end of file" (fewer than 268 bytes) or takes its 67 words from bytes 4i and 4i+1.

#include "FuzzCheck.h"
#include "QtOnce.h"

#include "InOutError.h"
#include "SettingsFile.h"
#include "SettingsRecords.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

namespace {

const QString& SettingsPath() {
    static QTemporaryDir directory;
    static const QString path = directory.filePath(u"fuzz.q5t"_qs);
    return path;
}

void WriteFile(const QString& path, const uint8_t* bytes, size_t size) {
    QFile file(path);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "temporary file opens", path);
    Require(file.write(reinterpret_cast<const char*>(bytes), static_cast<qint64>(size)) ==
                static_cast<qint64>(size),
            "temporary file written", path);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnsureApplication(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const QString& path = SettingsPath();
    WriteFile(path, bytes, size);
    const QString detail = QString::number(size) + u" bytes"_qs;
    try {
        const SettingsRecords::Words words = SettingsFile::ReadWords(path);
        Require(size >= SettingsRecords::FileSize, "a short file is refused", detail);
        for (int i = 0; i < SettingsRecords::Count; ++i) {
            const auto word = static_cast<uint16_t>(bytes[4 * i] | (bytes[4 * i + 1] << 8));
            Require(words[static_cast<size_t>(i)] == word, "word from bytes 4i and 4i+1",
                    detail + u", word "_qs + QString::number(i));
        }
    } catch (const EInOutError& error) {
        Require(size < SettingsRecords::FileSize, "a whole file loads", detail);
        Require(error.code() == InOutCode::ReadBeyondEnd &&
                    QString::fromUtf8(error.what()) == u"Read beyond end of file"_qs,
                "a short file is refused with its text", detail + u": "_qs + error.what());
    }
    Require(QFile(path).size() == static_cast<qint64>(size), "a load leaves the file as it was",
            detail);
    return 0;
}
