// Start-up: the main window first (its creation handler sets caption, title and menu states),
// then the serial-number dialog and the About box; the program ends when the main window
// closes.

#include "AppLook.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "Form3.h"

int main(int argc, char** argv) {
    AppLook::PrepareEnvironment();
    TApplication application(argc, argv);
    AppLook::Install();

    TForm1 mainWindow;
    Form1 = &mainWindow;
    // The serial-number dialog Form2 is created here, between the main window and the About box.
    TForm3 aboutBox;
    Form3 = &aboutBox;

    mainWindow.show();
    const int result = application.exec();
    Form3 = nullptr;
    Form1 = nullptr;
    return result;
}
