// Start-up: the main window first (its creation handler sets caption, title and menu states),
// then the serial-number dialog and the About box; the program ends when the main window
// closes.

#include "AppLook.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "Startup.h"

int main(int argc, char** argv) {
    AppLook::PrepareEnvironment();
    TApplication application(argc, argv);
    AppLook::Install();

    ApplicationWindows windows;
    windows.MainWindow().show();
    return application.exec();
}
