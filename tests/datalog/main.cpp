// Runs every test class of the data log core in one program.
#include <QCoreApplication>

int RunLogFileTests(int argc, char** argv);
int RunRecorderTests(int argc, char** argv);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int failures = 0;
    for (auto run : {RunLogFileTests, RunRecorderTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
