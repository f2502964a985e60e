#include "ProbeStates.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace ProbeStates {

void Say(const QByteArray& line) {
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int Serve(const States& states) {
    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
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
    QTimer::singleShot(0, [] { Say("ready"); });
    return QCoreApplication::exec();
}

} // namespace ProbeStates
