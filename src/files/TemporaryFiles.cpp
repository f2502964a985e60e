#include "TemporaryFiles.h"

#include "PosixFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

namespace TemporaryFiles {

namespace {

const QString Prefix = QStringLiteral(".q5-");
const QString Suffix = QStringLiteral(".tmp");
constexpr int Digits = 16;

bool IsHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
}

} // namespace

QString NewPath(const QString& directory) {
    return directory + u'/' + Prefix +
           QStringLiteral("%1").arg(QRandomGenerator::global()->generate64(), Digits, 16,
                                    QLatin1Char('0')) +
           Suffix;
}

bool IsTemporaryName(const QString& fileName) {
    if (fileName.size() != Prefix.size() + Digits + Suffix.size() || !fileName.startsWith(Prefix) ||
        !fileName.endsWith(Suffix))
        return false;
    const QStringView digits = QStringView(fileName).mid(Prefix.size(), Digits);
    return std::all_of(digits.begin(), digits.end(), IsHexDigit);
}

void RemoveStale(const QString& directory, const QDateTime& now) noexcept {
    try {
        const QDateTime limit = now.addSecs(-StaleAfterSeconds);
        const QFileInfoList found = QDir(directory).entryInfoList(
            {Prefix + u'*' + Suffix}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
        for (const QFileInfo& info : found)
            if (IsTemporaryName(info.fileName()) && info.lastModified() < limit)
                PosixFile::RemoveQuietly(info.filePath());
    } catch (...) {
        // Clearing up is no part of the write: what is left stays for the next time.
    }
}

} // namespace TemporaryFiles
