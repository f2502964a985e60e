#include "DialogFolder.h"

#include "SettingsFile.h"
#include "ToolData.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace DialogFolder {

namespace {

QString KeyOf(Kind kind) {
    switch (kind) {
    case Kind::Settings:
        return QStringLiteral("Folders/settings");
    case Kind::Logs:
        return QStringLiteral("Folders/logs");
    case Kind::Pdfs:
        return QStringLiteral("Folders/pdf");
    }
    return {};
}

QString Documents() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

} // namespace

QString Start(const QSettings& preferences, Kind kind) {
    const QString remembered = preferences.value(KeyOf(kind)).toString();
    // A folder removed or unmounted since is no place to start.
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    return FirstFolder(kind);
}

void Remember(QSettings& preferences, Kind kind, const QString& chosenFile) {
    if (chosenFile.isEmpty())
        return;
    preferences.setValue(KeyOf(kind), QFileInfo(chosenFile).absolutePath());
}

QString FirstFolder(Kind kind) {
    switch (kind) {
    case Kind::Settings:
        return SettingsFile::DialogDirectory();
    case Kind::Logs:
        return QDir(ToolData::Folder()).filePath(QStringLiteral("logs"));
    case Kind::Pdfs:
        return Documents();
    }
    return {};
}

} // namespace DialogFolder
