#include "EmulatedPorts.h"

#include <Comm_Fun.h>
#include <PortNames.h>

#include <QStringList>

namespace {
constexpr const char* PortsVariable = "TARVIK_Q5_PORTS";
}

q5emu::EmulatorOptions PromptEmulator() {
    q5emu::EmulatorOptions options;
    options.replyDelay = std::chrono::microseconds(0);
    return options;
}

EmulatedPorts::EmulatedPorts(int emulatorCount, std::vector<int> comMap,
                             const q5emu::EmulatorOptions& options)
    : hadPorts_(qEnvironmentVariableIsSet(PortsVariable)), oldPorts_(qgetenv(PortsVariable)) {
    for (int i = 0; i < emulatorCount; ++i) {
        emulators_.push_back(std::make_unique<q5emu::Q5Emulator>(options));
        emulators_.back()->start();
    }
    QStringList devices;
    for (int com = 0; com < PortNames::PortCount; ++com) {
        const int index = com < static_cast<int>(comMap.size()) ? comMap[com] : NoDevice;
        devices << (index == NoDevice ? QString() : device(index));
    }
    qputenv(PortsVariable, devices.join(QLatin1Char(':')).toLocal8Bit());
}

EmulatedPorts::~EmulatedPorts() {
    Comm_Fun::ClosePort();
    if (hadPorts_)
        qputenv(PortsVariable, oldPorts_);
    else
        qunsetenv(PortsVariable);
}

QString EmulatedPorts::device(int index) const {
    return QString::fromStdString(emulators_.at(index)->slavePath());
}
