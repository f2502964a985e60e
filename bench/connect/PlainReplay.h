#pragma once
// The baseline of the connection benchmark: the same request frames the program sent,
// replayed by the plainest client (open raw, then write, poll, read per exchange) against
// an emulated controller with the same reply delay.

#include <Q5Emulator.h>

#include <string>
#include <vector>

struct ReplayResult {
    double ms = 0;
    size_t exchanges = 0;
    size_t answered = 0; // exchanges that got their five bytes
};

// Opens the device, sends every frame and waits for each reply (at most `windowMs`), closes.
// Throws std::system_error when the device cannot be opened.
ReplayResult ReplayPlain(const std::string& device, const std::vector<q5emu::LoggedFrame>& frames,
                         int windowMs);
