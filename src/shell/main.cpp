// Start-up: the main window first (its creation handler sets caption, title and menu states),
// then the serial-number dialog and the About box; the program ends when the main window
// closes.

#include "AppLook.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "Form3.h"
#include "Ser_num.h"
#include "Startup.h"

int main(int argc, char** argv) {
    AppLook::PrepareEnvironment();
    TApplication application(argc, argv);
    AppLook::Install();

    TForm1 mainWindow;
    Form1 = &mainWindow;
    InstallBehaviour(mainWindow);
    TForm2 serialNumberDialog;
    Form2 = &serialNumberDialog;
    TForm3 aboutBox;
    Form3 = &aboutBox;

    mainWindow.show();
    const int result = application.exec();
    Form3 = nullptr;
    Form2 = nullptr;
    Form1 = nullptr;
    return result;
}
