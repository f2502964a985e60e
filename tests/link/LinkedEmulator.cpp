#include "LinkedEmulator.h"

#include <Comm_Fun.h>

namespace {
constexpr const char* PortsVariable = "TARVIK_Q5_PORTS";
}

q5emu::EmulatorOptions LinkedEmulator::Prompt() {
    q5emu::EmulatorOptions options;
    options.replyDelay = std::chrono::microseconds(0);
    return options;
}

LinkedEmulator::LinkedEmulator(const q5emu::EmulatorOptions& options)
    : path_(dir_.filePath(QStringLiteral("ttyQ5"))),
      hadPorts_(qEnvironmentVariableIsSet(PortsVariable)), oldPorts_(qgetenv(PortsVariable)) {
    qputenv(PortsVariable, path_.toLocal8Bit());
    plugIn(options);
}

LinkedEmulator::~LinkedEmulator() {
    Comm_Fun::ClosePort();
    emulator_.reset();
    if (hadPorts_)
        qputenv(PortsVariable, oldPorts_);
    else
        qunsetenv(PortsVariable);
}

void LinkedEmulator::unplug() {
    emulator_.reset();
}

void LinkedEmulator::plugIn(const q5emu::EmulatorOptions& options) {
    emulator_.reset();
    emulator_ = std::make_unique<q5emu::Q5Emulator>(options);
    emulator_->linkAt(path_.toStdString());
    emulator_->start();
}
