#include "RestorePoints.h"

#include "DurableFolder.h"
#include "IdentityWords.h"
#include "InOutError.h"
#include "PosixFile.h"
#include "SettingsFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString TimeFormat = QStringLiteral("yyyy-MM-dd HH-mm-ss");

// A point's name: its time, then " (n)" for the n-th point of the same second.
struct PointName {
    QDateTime time;
    int ordinal = 1;
};

std::optional<PointName> ParseName(const QString& fileName) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(\d{4}-\d{2}-\d{2} \d{2}-\d{2}-\d{2})(?: \(([1-9]\d{0,5})\))?\.q5t$)"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    const QDateTime time = QDateTime::fromString(match.captured(1), TimeFormat);
    if (!time.isValid())
        return std::nullopt;
    return PointName{time, match.hasCaptured(2) ? match.captured(2).toInt() : 1};
}

QString NameOf(const QDateTime& when, int ordinal) {
    const QString base = when.toString(TimeFormat);
    return ordinal == 1 ? base + QLatin1String(SettingsFile::Extension)
                        : QStringLiteral("%1 (%2)%3")
                              .arg(base)
                              .arg(ordinal)
                              .arg(QLatin1String(SettingsFile::Extension));
}

// The words of a whole settings file of this controller type, or nullopt.
std::optional<SettingsRecords::Words> ReadPoint(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(SettingsRecords::FileSize + 1);
    if (bytes.size() != SettingsRecords::FileSize)
        return std::nullopt;
    const SettingsRecords::Words words = SettingsRecords::Parse(bytes);
    const auto identityIndex =
        static_cast<std::size_t>(IdentityWords::Address - SettingsRecords::FirstAddress);
    if (words[identityIndex] != IdentityWords::Value)
        return std::nullopt;
    return words;
}

struct NamedPoint {
    RestorePoint point;
    int ordinal;
};

std::vector<NamedPoint> NamedPoints(const QString& directory) {
    std::vector<NamedPoint> points;
    const QDir dir(directory);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const std::optional<PointName> parsed = ParseName(name);
        if (!parsed)
            continue;
        RestorePoint point;
        point.path = dir.filePath(name);
        point.time = parsed->time;
        if (const auto words = ReadPoint(point.path)) {
            point.readable = true;
            point.words = *words;
        }
        points.push_back({std::move(point), parsed->ordinal});
    }
    std::sort(points.begin(), points.end(), [](const NamedPoint& a, const NamedPoint& b) {
        if (a.point.time != b.point.time)
            return a.point.time > b.point.time;
        return a.ordinal > b.ordinal;
    });
    return points;
}

SettingsRecords::Words WordsOf(const SettingsRecords::Entries& block) {
    SettingsRecords::Words words{};
    std::transform(block.begin(), block.end(), words.begin(),
                   [](const SettingsRecords::Entry& entry) { return entry.word; });
    return words;
}

} // namespace

namespace RestorePoints {

QString DirectoryOf(const QString& root, const QString& serial) {
    return QDir(root).filePath(QStringLiteral("backups/") + serial);
}

std::optional<QString> Keep(const QString& root, const QString& serial,
                            const SettingsRecords::Entries& block, const QDateTime& when) {
    const QString directory = DirectoryOf(root, serial);
    const std::vector<NamedPoint> existing = NamedPoints(directory);
    if (!existing.empty() && existing.front().point.readable &&
        existing.front().point.words == WordsOf(block))
        return std::nullopt;

    if (!DurableFolder::MakeSynced(directory))
        throw EInOutError(InOutCode::AccessDenied);
    const QDir dir(directory);
    // Whole seconds: the name holds no more, and the time read back must equal it.
    const QDateTime second = when.addMSecs(-when.time().msec());
    int ordinal = 1;
    while (dir.exists(NameOf(second, ordinal)))
        ++ordinal;
    const QString path = dir.filePath(NameOf(second, ordinal));
    SettingsFile::Write(path, block);

    const std::vector<NamedPoint> points = NamedPoints(directory);
    for (std::size_t i = MaxKept; i < points.size(); ++i)
        if (points[i].point.path != path)
            QFile::remove(points[i].point.path);
    return path;
}

QString NamelessName(const SettingsRecords::Entries& block) {
    return NamelessName(WordsOf(block));
}

QString NamelessName(const SettingsRecords::Words& words) {
    QByteArray bytes;
    for (const uint16_t word : words)
        bytes.append(static_cast<char>(word & 0xFF)).append(static_cast<char>(word >> 8));
    constexpr int DigestDigits = 16;
    return QStringLiteral("без номера~") +
           QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)
                                   .toHex()
                                   .left(DigestDigits));
}

void Adopt(const QString& root, const QString& from, const QString& to) {
    const QDir source(DirectoryOf(root, from));
    if (from == to || !source.exists())
        return;
    const QString target = DirectoryOf(root, to);
    if (!DurableFolder::MakeSynced(target))
        throw EInOutError(InOutCode::AccessDenied);
    const QDir dir(target);
    bool moved = false;
    for (const NamedPoint& named : NamedPoints(source.path())) {
        const QString name = QFileInfo(named.point.path).fileName();
        if (dir.exists(name))
            continue;
        PosixFile::Rename(named.point.path, dir.filePath(name));
        moved = true;
    }
    if (moved)
        PosixFile::SyncDirectory(target);
    // Only an emptied folder goes; what is left in it stays for whoever looks.
    QDir(DirectoryOf(root, QString())).rmdir(from);
}

std::vector<RestorePoint> List(const QString& root, const QString& serial) {
    std::vector<RestorePoint> list;
    for (NamedPoint& named : NamedPoints(DirectoryOf(root, serial)))
        list.push_back(std::move(named.point));
    return list;
}

int Differences(const SettingsRecords::Words& a, const SettingsRecords::Words& b) {
    int count = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        count += a[i] != b[i] ? 1 : 0;
    return count;
}

} // namespace RestorePoints
