#include "ToolData.h"

#include "ConnectedDevice.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

namespace ToolData {

namespace {
const QString ToolName = QStringLiteral("tarvik-q5");

bool KeptAsIs(QChar c, bool atEdge) {
    return c.isLetterOrNumber() || c == u'-' || (c == u'.' && !atEdge);
}

// A name's bytes at the most, leaving room within the file system's 255 for what is added to
// it (" 2026-12-08.q5t", " (прежний формат 2).csv").
constexpr qsizetype MaxNameBytes = 160;
// A name cut to fit ends in "~" and this many hex digits of its serial number's SHA-256; "~" is
// never kept as is, so a cut name is never another serial number's whole one.
constexpr qsizetype DigestDigits = 16;

QString Encoded(QChar c, bool atEdge) {
    if (c == u' ')
        return QStringLiteral("_");
    if (KeptAsIs(c, atEdge))
        return QString(c);
    QString escaped;
    for (const char byte : QString(c).toUtf8())
        escaped +=
            QStringLiteral("%%1").arg(static_cast<uint8_t>(byte), 2, 16, QChar(u'0')).toUpper();
    return escaped;
}
} // namespace

QString Folder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(ToolName);
}

std::unique_ptr<QSettings> Preferences() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, ToolName,
                                       ToolName);
}

std::optional<QString> SerialFileName(const QString& serial) {
    qsizetype end = serial.size();
    while (end > 0 && serial[end - 1] == u' ')
        --end;
    if (end == 0)
        return std::nullopt;
    const QString kept = serial.left(end);
    QString name;
    for (qsizetype i = 0; i < end; ++i)
        name += Encoded(kept[i], i == 0 || i == end - 1);
    if (name.toUtf8().size() <= MaxNameBytes)
        return name;
    const QString digest =
        u'~' +
        QString::fromLatin1(QCryptographicHash::hash(kept.toUtf8(), QCryptographicHash::Sha256)
                                .toHex()
                                .left(DigestDigits));
    QString cut;
    for (qsizetype i = 0; i < end; ++i) {
        const QString piece = Encoded(kept[i], i == 0);
        if ((cut + piece + digest).toUtf8().size() > MaxNameBytes)
            break;
        cut += piece;
    }
    return cut + digest;
}

std::optional<QString> ControllerFileName(const ConnectedDevice& device) {
    return device.serialRead ? SerialFileName(device.serial) : std::nullopt;
}

std::optional<QString> ProposedStem(const ConnectedDevice& device) {
    QString stem = device.serialRead ? device.serial.trimmed() : QString();
    if (stem.isEmpty())
        return std::nullopt;
    for (QChar& c : stem)
        if (c == u'/' || c.category() == QChar::Other_Control)
            c = u'_';
    return stem;
}

} // namespace ToolData
