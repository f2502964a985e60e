// Runs every test class of the correction map's core in one program.
#include <QCoreApplication>

int RunMapBuildTests(int argc, char** argv);
int RunMapFileTests(int argc, char** argv);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int failures = 0;
    for (auto run : {RunMapBuildTests, RunMapFileTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
