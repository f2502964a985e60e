#pragma once
// The controller's two word spaces. Live words the idling engine drives move with time
// until something writes them; a written word keeps the written value.
// Not thread-safe: the emulator guards it.

#include "IdlingEngine.h"
#include "WordsFile.h"

#include <IdentityWords.h>

#include <bitset>
#include <cstdint>
#include <string_view>

namespace q5emu {

class ControllerState {
public:
    // A numbered controller with every configuration word at a plausible setting.
    ControllerState();

    uint16_t read(Space space, uint8_t address, double engineSeconds) const;
    void write(Space space, uint8_t address, uint16_t value);

    // Stores Windows-1251 text one character per word, from `first` on.
    void writeText(uint8_t first, std::string_view text);

private:
    WordSpace params_{};
    WordSpace live_{};
    std::bitset<256> liveWritten_;
};

} // namespace q5emu
