#include "ToolData.h"

#include "ConnectedDevice.h"

#include <QDir>
#include <QStandardPaths>

namespace ToolData {

namespace {
const QString ToolName = QStringLiteral("tarvik-q5");

bool KeptAsIs(QChar c, bool atEdge) {
    return c.isLetterOrNumber() || c == u'-' || (c == u'.' && !atEdge);
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
    QString name;
    for (qsizetype i = 0; i < end; ++i) {
        const QChar c = serial[i];
        if (c == u' ') {
            name += u'_';
        } else if (KeptAsIs(c, i == 0 || i == end - 1)) {
            name += c;
        } else {
            for (const char byte : QString(c).toUtf8())
                name += QStringLiteral("%%1")
                            .arg(static_cast<uint8_t>(byte), 2, 16, QChar(u'0'))
                            .toUpper();
        }
    }
    return name;
}

std::optional<QString> ControllerFileName(const ConnectedDevice& device) {
    return device.serialRead ? SerialFileName(device.serial) : std::nullopt;
}

} // namespace ToolData
