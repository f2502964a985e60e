#pragma once
// The controller's two word spaces. Live words the idling engine drives move with time
// until something writes them; a written word keeps the written value.
// Not thread-safe: the emulator guards it.

#include "IdlingEngine.h"
#include "WordsFile.h"

#include <IdentityWords.h>

#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace q5emu {

// The live words that move with time: the word at an address at a moment of the engine's
// time, or nullopt for a word that keeps its stored value.
using LiveEngine = std::function<std::optional<uint16_t>(uint8_t address, const WordSpace& params,
                                                         double seconds)>;

class ControllerState {
public:
    // A numbered controller with every configuration word at a plausible setting.
    ControllerState();

    uint16_t read(Space space, uint8_t address, double engineSeconds) const;
    void write(Space space, uint8_t address, uint16_t value);

    // The engine that moves the live words from now on; the idling engine at first.
    void setEngine(LiveEngine engine) { engine_ = std::move(engine); }

    // Stores Windows-1251 text one character per word, from `first` on.
    void writeText(uint8_t first, std::string_view text);

private:
    WordSpace params_{};
    WordSpace live_{};
    std::bitset<256> liveWritten_;
    LiveEngine engine_ = IdlingEngineWord;
};

} // namespace q5emu
