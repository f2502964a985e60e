#pragma once
// One emulated controller behind a fixed path, a symbolic link the way a udev rule names a
// USB adapter: COM1 is mapped to the link, so a controller can go away (its pseudo-terminal
// destroyed: the program's open port hangs up) and come back at the same name on a new
// pseudo-terminal. The mapping is restored, and the program's port closed, when it goes.

#include <Q5Emulator.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class LinkedEmulator {
public:
    explicit LinkedEmulator(const q5emu::EmulatorOptions& options = Prompt());
    ~LinkedEmulator();
    LinkedEmulator(const LinkedEmulator&) = delete;
    LinkedEmulator& operator=(const LinkedEmulator&) = delete;

    static q5emu::EmulatorOptions Prompt();

    // The controller now behind the link; only while present().
    q5emu::Q5Emulator& emulator() { return *emulator_; }
    bool present() const { return emulator_ != nullptr; }
    QString path() const { return path_; }

    // Destroys the pseudo-terminal and removes the link.
    void unplug();
    // A new controller on a new pseudo-terminal behind the same link.
    void plugIn(const q5emu::EmulatorOptions& options = Prompt());

private:
    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<q5emu::Q5Emulator> emulator_;
    bool hadPorts_ = false;
    QByteArray oldPorts_;
};
