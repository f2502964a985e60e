// Runs every test class of port choice and advice in one program.
#include <ErrorHandler.h>

int RunPortMappingTests(int argc, char** argv);
int RunPortAdviceTests(int argc, char** argv);
int RunPortsDialogTests(int argc, char** argv);

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    int failures = 0;
    for (auto run : {RunPortMappingTests, RunPortAdviceTests, RunPortsDialogTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
