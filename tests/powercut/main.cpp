// The power-cut worker and its checker (scripts/powercut kills the worker with SIGKILL):
//   powercut_worker work OPERATION DIR    runs the operation over DIR until killed
//   powercut_worker tear OPERATION DIR    drops a random part of what was not synced yet
//   powercut_worker check OPERATION DIR   prints "ok" or "damaged: ...", exit code 0 or 1
//   powercut_worker litter DIR            prints the number of temporary files left in DIR
// OPERATION is keep, settings, journal or numbering.

#include "Operations.h"

#include <QCoreApplication>
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

int Litter(const QString& directory) {
    int count = 0;
    QDirIterator it(directory, {QStringLiteral(".q5-*.tmp")}, QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    return count;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "litter") == 0) {
        std::printf("%d\n", Litter(QString::fromLocal8Bit(argv[2])));
        return 0;
    }
    const Operation* operation = argc == 4 ? Find(argv[2]) : nullptr;
    if (!operation) {
        std::fprintf(stderr, "usage: powercut_worker work|check OPERATION DIR\n");
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
