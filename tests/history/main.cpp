// Runs every test class of the history's core in one program.
#include <QCoreApplication>

int RunVinTests(int argc, char** argv);
int RunHistoryStoreTests(int argc, char** argv);
int RunIndexRebuildTests(int argc, char** argv);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int failures = 0;
    for (auto run : {RunVinTests, RunHistoryStoreTests, RunIndexRebuildTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
