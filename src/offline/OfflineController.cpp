#include "OfflineController.h"

#include <chrono>

namespace {

constexpr int WordCount = 256; // each space is addressed by one byte

q5emu::EmulatorOptions PromptController() {
    q5emu::EmulatorOptions options;
    options.replyDelay = std::chrono::microseconds(0);
    options.identity = IdentityWords::Value;
    return options;
}

} // namespace

OfflineController::OfflineController(const Block& block) : emulator_(PromptController()) {
    // Nothing of the emulator's sample controller may show through: a written live word keeps
    // its value, so zero stops the idling engine too.
    for (int address = 0; address < WordCount; ++address) {
        emulator_.setParam(static_cast<uint8_t>(address), 0);
        emulator_.setLive(static_cast<uint8_t>(address), 0);
    }
    for (int i = 0; i < BlockSize; ++i)
        emulator_.setParam(static_cast<uint8_t>(FirstBlockAddress + i),
                           block[static_cast<size_t>(i)]);
    emulator_.setParam(IdentityWords::Address, IdentityWords::Value);
    emulator_.start();
}

OfflineController::~OfflineController() {
    emulator_.stop();
}
