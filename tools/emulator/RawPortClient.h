#pragma once
// The plainest possible client of a serial device: open raw, write, poll, read.
// The emulator's own tests talk to it through this, and the exchange benchmark uses it as
// the baseline that the program's serial path is measured against.

#include "UniqueFd.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace q5emu {

class RawPortClient {
public:
    // Throws std::system_error when the device cannot be opened.
    explicit RawPortClient(const std::string& device);

    bool write(const std::vector<uint8_t>& bytes);
    // Collects bytes until `count` have come or `timeout` has passed; returns what came.
    std::vector<uint8_t> read(size_t count, std::chrono::milliseconds timeout);
    // Writes the request and collects a reply of the same length.
    std::vector<uint8_t> exchange(const std::vector<uint8_t>& request,
                                  std::chrono::milliseconds timeout);

private:
    UniqueFd fd_;
};

} // namespace q5emu
