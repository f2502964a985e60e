#pragma once
// The soak's harness: serves an emulated controller at the real line speed, runs the window
// as a child process connected to it, and once the window has shown every page, injects the
// faults of FaultRotation in turn until the time is up. After each fault it checks that the
// monitor and the always-shown displays poll again. The window records all along; its log is
// reopened at the end and its rows counted against the time it ran. A window process that dies
// or does not end when asked counts as a crash and is started again, recording into a new
// file. Ends with the "soak_" figures.

#include "FrameTally.h"

#include <Q5Emulator.h>

#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>

class SoakRun : public QObject {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;

    explicit SoakRun(std::chrono::milliseconds faultPhase);
    // Runs the soak in the application's event loop; the program's exit code.
    int run();

private:
    void startWindow();
    void readWindow();
    void windowEnded(int exitCode, QProcess::ExitStatus status);
    void beginFaults();
    void injectNext();
    void clearFault(size_t index);
    void checkRecovery(size_t index);
    void finish();
    // Prints the figures; false when the recording left no whole log.
    bool report() const;
    bool reportLog() const;
    int64_t windowRss() const;
    QString logPath() const;

    std::chrono::milliseconds faultPhase_;
    QTemporaryDir data_; // the window's data folder, preferences and logs
    q5emu::Q5Emulator controller_;
    FrameTally tally_;
    QProcess window_;
    bool finishing_ = false;
    bool faultsBegun_ = false;
    bool everConnected_ = false;
    Clock::time_point faultsEnd_;
    Clock::time_point clearedAt_;
    size_t next_ = 0;
    int crashes_ = 0;
    int injected_ = 0;
    int recovered_ = 0;
    std::map<size_t, std::pair<int, int>> byFault_; // rotation index: recovered, injected
    std::optional<int64_t> rssStartKb_;
    std::optional<int64_t> rssEndKb_;
    int windowsStarted_ = 0;
    std::optional<int64_t> recordedMs_;    // how long the last window's recording ran
    std::map<QString, int> windowNotices_; // what the window said, with how often
    QByteArray windowErrors_;              // the window's standard error, kept for a crash report
};
