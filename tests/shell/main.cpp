// Runs every test class of the application shell in one program, inside the application
// object that the program itself uses.
#include "AppLook.h"
#include "ErrorHandler.h"

int RunMainWindowTests(int argc, char** argv);
int RunAboutBoxTests(int argc, char** argv);
int RunErrorHandlerTests(int argc, char** argv);
int RunLayoutTests(int argc, char** argv);
int RunTabCommitTests(int argc, char** argv);
int RunDisabledLookTests(int argc, char** argv);
int RunReadableTextsTests(int argc, char** argv);
int RunCommandLineTests(int argc, char** argv);

int main(int argc, char** argv) {
    AppLook::PrepareEnvironment();
    TApplication application(argc, argv);
    AppLook::Install();
    int failures = 0;
    for (auto run :
         {RunMainWindowTests, RunAboutBoxTests, RunErrorHandlerTests, RunLayoutTests,
          RunTabCommitTests, RunDisabledLookTests, RunReadableTextsTests, RunCommandLineTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
