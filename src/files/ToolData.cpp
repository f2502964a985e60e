#include "ToolData.h"

#include <QDir>
#include <QStandardPaths>

namespace ToolData {

namespace {
const QString ToolName = QStringLiteral("tarvik-q5");
}

QString Folder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(ToolName);
}

std::unique_ptr<QSettings> Preferences() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, ToolName,
                                       ToolName);
}

} // namespace ToolData
