// Any files in a controller's restore-point folder: the scan lists exactly the files named
// like a point ("yyyy-MM-dd HH-mm-ss.q5t" or "... (n).q5t" with a valid time), newest first
// and, within a second, the higher number first; a point is offered for restore only when it
// is a whole settings file holding the identity 503, and then with its words. Keeping a new
// point afterwards never touches the files that are not points, and the new point lists
// first.

#include "FuzzCheck.h"
#include "QtOnce.h"

#include "IdentityWords.h"
#include "RestorePoints.h"
#include "SettingsRecords.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <set>

namespace {

const QString Serial = u"FUZZ-1"_qs;
constexpr int MaxFiles = 8;

const QTemporaryDir& Scratch() {
    static QTemporaryDir directory;
    return directory;
}

// A name like a point's, from fuzzed numbers that may be out of range.
QString PointLikeName(FuzzedDataProvider& data) {
    auto two = [&] {
        return QString::number(data.ConsumeIntegralInRange(0, 99)).rightJustified(2, u'0');
    };
    QString name = QString::number(data.ConsumeIntegralInRange(0, 9999)).rightJustified(4, u'0');
    name += u'-' + two() + u'-' + two() + u' ' + two() + u'-' + two() + u'-' + two();
    if (data.ConsumeBool())
        name += u" ("_qs + QString::number(data.ConsumeIntegralInRange(0, 1000000)) + u')';
    return name + (data.ConsumeBool() ? u".q5t"_qs : u".Q5T"_qs);
}

// Any name a folder can hold: no slash, no NUL, not "." or "..".
QString AnyName(FuzzedDataProvider& data) {
    QString name = QFile::decodeName(QByteArray::fromStdString(data.ConsumeRandomLengthString(40)));
    name.remove(u'/').remove(QChar(u'\0'));
    if (name.isEmpty() || name == u"."_qs || name == u".."_qs)
        name = u"x"_qs;
    return name.left(200);
}

QByteArray Content(FuzzedDataProvider& data) {
    QByteArray bytes = QByteArray::fromStdString(
        data.ConsumeBytesAsString(data.ConsumeIntegralInRange<size_t>(0, 300)));
    if (data.ConsumeBool()) {
        bytes = bytes.leftJustified(SettingsRecords::FileSize, '\0', true);
        const int at = (IdentityWords::Address - SettingsRecords::FirstAddress) * 4;
        bytes[at] = static_cast<char>(IdentityWords::Value & 0xFF);
        bytes[at + 1] = static_cast<char>(IdentityWords::Value >> 8);
    }
    return bytes;
}

bool LooksLikePoint(const QString& name, QDateTime* time, int* ordinal) {
    static const QRegularExpression pattern(
        uR"(^(\d{4}-\d{2}-\d{2} \d{2}-\d{2}-\d{2})(?: \(([1-9]\d{0,5})\))?\.q5t$)"_qs);
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return false;
    *time = QDateTime::fromString(match.captured(1), u"yyyy-MM-dd HH-mm-ss"_qs);
    *ordinal = match.hasCaptured(2) ? match.captured(2).toInt() : 1;
    return time->isValid();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnsureApplication(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const QString root = Scratch().filePath(u"root"_qs);
    QDir(root).removeRecursively();
    const QDir folder(RestorePoints::DirectoryOf(root, Serial));
    Require(QDir().mkpath(folder.path()), "the folder is made");

    std::set<QString> names;
    const int files = data.ConsumeIntegralInRange(0, MaxFiles);
    for (int i = 0; i < files; ++i) {
        const QString name = data.ConsumeBool() ? PointLikeName(data) : AnyName(data);
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            continue; // a name the file system refuses
        const QByteArray content = Content(data);
        Require(file.write(content) == content.size(), "a file is written", name);
        names.insert(name);
    }

    const std::vector<RestorePoint> points = RestorePoints::List(root, Serial);
    std::size_t expectedPoints = 0;
    for (const QString& name : names) {
        QDateTime time;
        int ordinal = 0;
        expectedPoints += LooksLikePoint(name, &time, &ordinal) ? 1 : 0;
    }
    Require(points.size() == expectedPoints, "exactly the files named like a point are listed",
            QString::number(points.size()) + u" listed, "_qs + QString::number(expectedPoints));
    for (std::size_t i = 0; i < points.size(); ++i) {
        const RestorePoint& point = points[i];
        const QString name = QFileInfo(point.path).fileName();
        QDateTime time;
        int ordinal = 0;
        Require(LooksLikePoint(name, &time, &ordinal) && time == point.time,
                "a point's time is its name's", name);
        QFile file(point.path);
        Require(file.open(QIODevice::ReadOnly), "a listed point opens", name);
        const QByteArray content = file.readAll();
        const bool whole = content.size() == SettingsRecords::FileSize &&
                           SettingsRecords::Parse(
                               content)[IdentityWords::Address - SettingsRecords::FirstAddress] ==
                               IdentityWords::Value;
        Require(point.readable == whole, "offered for restore only when whole and of this type",
                name);
        if (whole)
            Require(point.words == SettingsRecords::Parse(content), "the words of the file", name);
        if (i > 0) {
            QDateTime previous;
            int previousOrdinal = 0;
            LooksLikePoint(QFileInfo(points[i - 1].path).fileName(), &previous, &previousOrdinal);
            Require(previous > time || (previous == time && previousOrdinal > ordinal),
                    "newest first", name);
        }
    }

    // A new point: listed first, the other files left alone.
    SettingsRecords::Entries block{};
    block[IdentityWords::Address - SettingsRecords::FirstAddress].word = IdentityWords::Value;
    block[0].word = data.ConsumeIntegral<uint16_t>();
    const QDateTime when(QDate(2030, 1, 1), QTime(12, 0, 0));
    const std::optional<QString> kept = RestorePoints::Keep(root, Serial, block, when);
    const std::vector<RestorePoint> after = RestorePoints::List(root, Serial);
    if (kept) {
        // A point of the same second named by hand with a higher number stays ahead of it.
        Require(!after.empty() && (after.front().path == *kept || after.front().time >= when),
                "the new point lists first unless one as late is there", *kept);
    } else {
        Require(!points.empty() && points.front().readable, "nothing kept only after a twin",
                QString());
    }
    for (const QString& name : names) {
        QDateTime time;
        int ordinal = 0;
        if (!LooksLikePoint(name, &time, &ordinal))
            Require(folder.exists(name), "a file that is not a point stays", name);
    }
    return 0;
}
