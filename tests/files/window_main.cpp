// The window-facing file routines: settings-file menu, device identity, serial-number
// dialog. The application object is the program's own, so that errors leaving an event
// handler reach its error handler as they do in the program.

#include "ErrorHandler.h"

int RunDeviceIdentityTests(int argc, char** argv);
int RunSerialDialogTests(int argc, char** argv);
int RunSettingsMenuTests(int argc, char** argv);
int RunSafetyDialogTests(int argc, char** argv);
int RunSharedNumberingTests(int argc, char** argv);

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    int failures = 0;
    for (auto run : {RunDeviceIdentityTests, RunSerialDialogTests, RunSettingsMenuTests,
                     RunSafetyDialogTests, RunSharedNumberingTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
