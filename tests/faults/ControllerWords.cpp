#include "ControllerWords.h"

ControllerWords ControllerWords::Of(const q5emu::Q5Emulator& controller) {
    ControllerWords words;
    for (int address = 0; address < AddressCount; ++address) {
        const auto a = static_cast<uint8_t>(address);
        words.params[address] = controller.param(a);
        words.live[address] = controller.live(a);
    }
    return words;
}
