#include "OfflineController.h"

#include <chrono>

namespace {

constexpr int WordCount = 256; // each space is addressed by one byte

// Answers at once.
constexpr std::chrono::microseconds ReplyDelay{0};

} // namespace

OfflineController::OfflineController(const Block& block) : controller_(ReplyDelay) {
    // Nothing of the model's sample controller may show through: a written live word keeps
    // its value, so zero stops the idling engine too.
    for (int address = 0; address < WordCount; ++address) {
        controller_.setParam(static_cast<uint8_t>(address), 0);
        controller_.setLive(static_cast<uint8_t>(address), 0);
    }
    for (int i = 0; i < BlockSize; ++i)
        controller_.setParam(static_cast<uint8_t>(FirstBlockAddress + i),
                             block[static_cast<size_t>(i)]);
    controller_.setParam(IdentityWords::Address, IdentityWords::Value);
    controller_.start();
}

OfflineController::~OfflineController() {
    controller_.stop();
}
