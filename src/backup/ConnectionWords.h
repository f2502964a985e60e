#pragma once
// What the tool has learned of the connected controller's words from the exchanges themselves:
// the first reply each parameter word gave (the block as it stood before the tool wrote
// anything) and the word each address holds as far as the tool knows (last read or last
// confirmed write). A write without a confirming reply leaves the word unknown.

#include "ExchangeObserver.h"
#include "SettingsRecords.h"

#include <array>
#include <cstdint>
#include <optional>

class ConnectionWords {
public:
    // Forgets everything; called when a connection attempt begins.
    void Forget();

    void Observe(const ExchangeRecord& record);

    // The first successful read of a parameter word since Forget, with its reply's checksum.
    std::optional<SettingsRecords::Entry> FirstRead(uint8_t address) const;

    // The word the controller holds now as far as the exchanges tell, or none.
    std::optional<uint16_t> Known(bool live, uint8_t address) const;

private:
    std::array<std::optional<SettingsRecords::Entry>, 256> firstRead_{};
    std::array<std::optional<uint16_t>, 256> knownParam_{};
    std::array<std::optional<uint16_t>, 256> knownLive_{};
};
