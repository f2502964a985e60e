// The main window as the program builds it, on screen, with the menu bar's corner in the state
// that each line of standard input names: off, good, lost, offline (the link), recording,
// stopped (a recording at 00:12, then none). Says "ready" once the window is on screen and
// "shown <state>" after each state; ends at the end of its input. Read by corner_at_spi.py
// through the accessibility bus.

#include "AppLook.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "LinkIndicator.h"
#include "RecordingIndicator.h"
#include "Startup.h"

#include <QMenuBar>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <map>
#include <unistd.h>

namespace {

void Say(const QByteArray& line) {
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

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
        Say("no corner");
        return 1;
    }

    using State = LinkIndicator::State;
    const std::map<QByteArray, std::function<void()>> states{
        {"off", [link] { link->Show(State::Off); }},
        {"good", [link] { link->Show(State::Good); }},
        {"lost", [link] { link->Show(State::Lost); }},
        {"offline", [link] { link->Show(State::Offline); }},
        {"recording", [recording] { recording->Start([] { return qint64(12000); }); }},
        {"stopped", [recording] { recording->Hide(); }},
    };

    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            input.setEnabled(false);
            QApplication::quit();
            return;
        }
        pending.append(buffer, got);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QByteArray name = pending.left(end).trimmed();
            pending.remove(0, end + 1);
            const auto state = states.find(name);
            if (state == states.end()) {
                Say("unknown " + name);
                continue;
            }
            state->second();
            Say("shown " + name);
        }
    });

    form.show();
    QTimer::singleShot(0, [] { Say("ready"); });
    return application.exec();
}
