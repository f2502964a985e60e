// Runs every test class of the backup cores in one program.
#include <QCoreApplication>

int RunRestorePointTests(int argc, char** argv);
int RunChangeJournalTests(int argc, char** argv);
int RunComparisonTests(int argc, char** argv);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int failures = 0;
    for (auto run : {RunRestorePointTests, RunChangeJournalTests, RunComparisonTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
