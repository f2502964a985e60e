#include "SoakWindow.h"

#include "AppLook.h"
#include "ChartWindow.h"
#include "Connection.h"
#include "DataLogMenu.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "Messages.h"
#include "PageRotation.h"
#include "ProductionLog.h"
#include "Startup.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

void Tell(const char* what, const QString& text = QString()) {
    if (text.isEmpty())
        std::printf("%s\n", what);
    else
        std::printf("%s %s\n", what, text.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int RunSoakWindow(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s %s LOGPATH\n", argv[0], WindowRoleOption);
        return 2;
    }
    AppLook::PrepareEnvironment();
    TApplication application(argc, argv);
    AppLook::Install();
    QTemporaryDir logDirectory;
    ProductionLog::SetDirectory(logDirectory.path());
    // A box would wait for a click that never comes: the harness gets the text instead.
    SetInformationPresenter([](const QString& text) { Tell("message", text); });
    SetErrorPresenter([](const QString& text) { Tell("error", text); });

    ApplicationWindows windows;
    TForm1& mainWindow = windows.MainWindow();
    mainWindow.show();
    const QString logPath = QString::fromLocal8Bit(argv[2]);
    QElapsedTimer recordingClock;

    PageRotation pages(mainWindow, PageIntervalMs);
    // Pressed again, as a technician would, until the controller is found.
    QTimer connectAgain;
    connectAgain.setInterval(ConnectRetryMs);
    const auto pressConnect = [&mainWindow, &pages, &connectAgain, &logPath, &recordingClock] {
        mainWindow.Connect_to_COM1->click();
        if (!DeviceConnected()) {
            Tell("not connected");
            connectAgain.start();
            return;
        }
        connectAgain.stop();
        Tell("connected");
        pages.start();
        RunHandler([&] {
            Recording::Start(mainWindow, logPath, RecordingRate);
            recordingClock.start();
            Recording::Charts(mainWindow).show();
        });
    };
    QObject::connect(&connectAgain, &QTimer::timeout, &mainWindow, pressConnect);
    QTimer::singleShot(0, &mainWindow, pressConnect);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(
        &input, &QSocketNotifier::activated, &application, [&input, &mainWindow, &recordingClock] {
            char buffer[64];
            const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (count > 0 && !QByteArray(buffer, static_cast<int>(count)).contains("quit"))
                return;
            input.setEnabled(false);
            if (recordingClock.isValid()) {
                const qint64 ranMs = recordingClock.elapsed();
                RunHandler([&] { Recording::Stop(mainWindow); });
                Tell("recorded", QString::number(ranMs));
            }
            QApplication::quit();
        });

    const int result = application.exec();
    SetInformationPresenter({});
    SetErrorPresenter({});
    return result;
}
