#include "ProgramDirectory.h"

#include "PosixFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace ProgramDirectory {

namespace {

WritableTest& ChosenTest() {
    static WritableTest test;
    return test;
}

bool WritableHere(const QString& directory) {
    const WritableTest& test = ChosenTest();
    return test ? test(directory) : IsWritable(directory);
}

} // namespace

QString Executable() {
    return QCoreApplication::applicationDirPath();
}

bool IsWritable(const QString& directory) {
    return PosixFile::IsWritableDirectory(directory);
}

void SetWritableTest(WritableTest test) {
    ChosenTest() = std::move(test);
}

QString ForData() {
    const QString own = Executable();
    if (WritableHere(own))
        return own;
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
    if (WritableHere(own))
        return own;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists())
        return documents;
    return QDir::homePath();
}

} // namespace ProgramDirectory
