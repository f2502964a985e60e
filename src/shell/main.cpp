// Start-up: the main window first (its creation handler sets caption, title and menu states),
// then the serial-number dialog and the About box; the program ends when the main window
// closes. --version and --help are answered before anything of the GUI exists, so they need
// no display.

#include "AppLook.h"
#include "CommandLine.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "QtTranslations.h"
#include "Startup.h"

#include <iostream>

int main(int argc, char** argv) {
    switch (CommandLine::Parse(argc, argv)) {
    case CommandLine::Request::ShowVersion:
        std::cout << CommandLine::VersionText();
        return 0;
    case CommandLine::Request::ShowHelp:
        std::cout << CommandLine::HelpText();
        return 0;
    case CommandLine::Request::RunWindow:
        break;
    }

    AppLook::PrepareEnvironment();
    TApplication application(argc, argv);
    // Lets the desktop match the window to its entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(Q5_APP_ID));
    AppLook::Install();
    InstallQtTranslations(application);

    ApplicationWindows windows;
    windows.MainWindow().show();
    return application.exec();
}
