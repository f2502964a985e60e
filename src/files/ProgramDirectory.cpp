#include "ProgramDirectory.h"

#include "PosixFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

#ifndef Q5_SHARED_DIR
#error "Q5_SHARED_DIR must be defined by the build"
#endif

namespace ProgramDirectory {

namespace {

WritableTest& ChosenTest() {
    static WritableTest test;
    return test;
}

bool OwnFolderUsable(const QString& directory) {
    if (IsSystemFolder(directory))
        return false;
    const WritableTest& test = ChosenTest();
    return test ? test(directory) : IsWritable(directory);
}

bool UnderSystemRoot(const QString& path) {
    static const QStringList roots{"/usr",    "/bin", "/sbin", "/lib", "/lib32", "/lib64",
                                   "/libx32", "/opt", "/etc",  "/var", "/boot",  "/snap"};
    const QString clean = QDir::cleanPath(path);
    if (clean == QLatin1String("/"))
        return true;
    return std::any_of(roots.begin(), roots.end(), [&clean](const QString& root) {
        return clean == root || clean.startsWith(root + u'/');
    });
}

} // namespace

QString Executable() {
    return QCoreApplication::applicationDirPath();
}

bool IsWritable(const QString& directory) {
    return PosixFile::IsWritableDirectory(directory);
}

bool IsSystemFolder(const QString& directory) {
    const QString target = QFileInfo(directory).canonicalFilePath();
    return UnderSystemRoot(directory) || (!target.isEmpty() && UnderSystemRoot(target));
}

void SetWritableTest(WritableTest test) {
    ChosenTest() = std::move(test);
}

QString Shared() {
    return QStringLiteral(Q5_SHARED_DIR);
}

QString ForLog() {
    return ForLog(Executable());
}

QString ForLog(const QString& program) {
    if (OwnFolderUsable(program))
        return program;
    if (IsSystemFolder(program))
        return Shared();
    // The application name is the window title, so the folder is named here, as the data
    // location of a program named after its executable.
    const QString folder =
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
            .filePath(QLatin1String(DataFolderName));
    QDir().mkpath(folder);
    return folder;
}

QString ForDocuments() {
    const QString own = Executable();
    if (OwnFolderUsable(own))
        return own;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists())
        return documents;
    return QDir::homePath();
}

} // namespace ProgramDirectory
