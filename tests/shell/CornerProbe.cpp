// The main window as the program builds it, on screen, with the menu bar's corner in the state
// that each line of standard input names: off, good, lost, offline (the link), recording,
// stopped (a recording at 00:12, then none). Says "ready" once the window is on screen and
// "shown <state>" after each state; ends at the end of its input. Read by corner_at_spi.py
// through the accessibility bus.

#include "AppLook.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "LinkIndicator.h"
#include "ProbeStates.h"
#include "RecordingIndicator.h"
#include "Startup.h"

#include <QMenuBar>

int main(int argc, char** argv) {
    AppLook::PrepareEnvironment();
    TApplication application(argc, argv);
    AppLook::Install();
    ApplicationWindows windows;
    TForm1& form = windows.MainWindow();
    auto* link = form.MainMenu1->findChild<LinkIndicator*>(QStringLiteral("LinkIndicator"));
    auto* recording =
        form.MainMenu1->findChild<RecordingIndicator*>(QStringLiteral("RecordingIndicator"));
    if (!link || !recording) {
        ProbeStates::Say("no corner");
        return 1;
    }

    using State = LinkIndicator::State;
    const ProbeStates::States states{
        {"off", [link] { link->Show(State::Off); }},
        {"good", [link] { link->Show(State::Good); }},
        {"lost", [link] { link->Show(State::Lost); }},
        {"offline", [link] { link->Show(State::Offline); }},
        {"recording", [recording] { recording->Start([] { return qint64(12000); }); }},
        {"stopped", [recording] { recording->Hide(); }},
    };

    form.show();
    return ProbeStates::Serve(states);
}
