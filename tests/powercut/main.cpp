// The power-cut worker and its checker (scripts/powercut kills the worker with SIGKILL):
//   powercut_worker work OPERATION DIR    runs the operation over DIR until killed
//   powercut_worker tear OPERATION DIR    drops a random part of what was not synced yet and
//                                         dates the temporary files left as from before
//   powercut_worker check OPERATION DIR   prints "ok" or "damaged: ...", exit code 0 or 1
//   powercut_worker litter DIR            prints the number of temporary files left in DIR
// OPERATION is keep, settings, journal, numbering or datalog.

#include "Operations.h"
#include "TemporaryFiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDirIterator>

#include <cstdio>
#include <cstring>
#include <exception>

namespace {

const Operation* Find(const char* name) {
    for (const Operation& operation : Operations())
        if (std::strcmp(operation.name, name) == 0)
            return &operation;
    return nullptr;
}

QStringList Litter(const QString& directory) {
    QStringList found;
    QDirIterator it(directory, {QStringLiteral(".q5-*.tmp")}, QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

// The writer of a temporary file left by the cut is gone; the power came back later than the
// age at which the next write removes such files. Dated back, they show that it does.
void AgeLitter(const QString& directory) {
    const QDateTime before =
        QDateTime::currentDateTimeUtc().addSecs(-2 * TemporaryFiles::StaleAfterSeconds);
    for (const QString& path : Litter(directory)) {
        QFile file(path);
        if (file.open(QIODevice::ReadWrite))
            file.setFileTime(before, QFileDevice::FileModificationTime);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "litter") == 0) {
        std::printf("%lld\n",
                    static_cast<long long>(Litter(QString::fromLocal8Bit(argv[2])).size()));
        return 0;
    }
    const Operation* operation = argc == 4 ? Find(argv[2]) : nullptr;
    if (!operation) {
        std::fprintf(stderr, "usage: powercut_worker work|tear|check OPERATION DIR\n");
        return 2;
    }
    const QString directory = QString::fromLocal8Bit(argv[3]);
    try {
        if (std::strcmp(argv[1], "work") == 0) {
            operation->work(directory);
            return 0;
        }
        if (std::strcmp(argv[1], "tear") == 0) {
            if (operation->tear)
                operation->tear(directory);
            AgeLitter(directory);
            return 0;
        }
        const QString damage = operation->check(directory);
        std::printf("%s\n", damage.isEmpty() ? "ok" : qPrintable("damaged: " + damage));
        return damage.isEmpty() ? 0 : 1;
    } catch (const std::exception& error) {
        std::printf("damaged: %s\n", error.what());
        return 1;
    }
}
