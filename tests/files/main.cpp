// Runs every test class of the files cores in one program.
#include <QCoreApplication>

int RunCp1251Tests(int argc, char** argv);
int RunErrorTests(int argc, char** argv);
int RunDateTextTests(int argc, char** argv);
int RunSettingsFileTests(int argc, char** argv);
int RunDurableWriteTests(int argc, char** argv);
int RunProductionLogTests(int argc, char** argv);
int RunProgramDirectoryTests(int argc, char** argv);
int RunSharedLogTests(int argc, char** argv);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int failures = 0;
    for (auto run :
         {RunCp1251Tests, RunErrorTests, RunDateTextTests, RunSettingsFileTests,
          RunDurableWriteTests, RunProductionLogTests, RunProgramDirectoryTests, RunSharedLogTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
