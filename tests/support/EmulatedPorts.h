#pragma once
// Test support shared by every subsystem's tests.
//
// EmulatedPorts starts controller emulators in this process and maps the program's ports
// COM1..COM4 to them through TARVIK_Q5_PORTS; the variable is restored, and the program's
// port closed, when the fixture goes:
//
//     EmulatedPorts ports;                       // one emulator on COM1
//     EmulatedPorts ports(2, {NoDevice, 0, 1});  // COM1 empty, emulators on COM2 and COM3
//     ports.emulator(1).setParam(47, 502);
//
// Emulators answer at once (no reply delay) unless the options say otherwise.

#include <Q5Emulator.h>

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

inline constexpr int NoDevice = -1;

q5emu::EmulatorOptions PromptEmulator();

class EmulatedPorts {
public:
    // `comMap[i]` names the emulator that answers on COM(i+1), or NoDevice for an empty
    // entry; ports past the map's end have no device.
    explicit EmulatedPorts(int emulatorCount = 1, std::vector<int> comMap = {0},
                           const q5emu::EmulatorOptions& options = PromptEmulator());
    ~EmulatedPorts();
    EmulatedPorts(const EmulatedPorts&) = delete;
    EmulatedPorts& operator=(const EmulatedPorts&) = delete;

    q5emu::Q5Emulator& emulator(int index = 0) { return *emulators_.at(index); }
    // The device path the emulator serves on, as TARVIK_Q5_PORTS names it.
    QString device(int index = 0) const;

private:
    std::vector<std::unique_ptr<q5emu::Q5Emulator>> emulators_;
    bool hadPorts_ = false;
    QByteArray oldPorts_;
};
