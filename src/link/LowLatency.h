#pragma once
// Asks a serial driver to hand over received bytes at once instead of after its latency
// timer (a USB adapter otherwise adds up to 16 ms to every reply).

namespace LowLatency {

// True when the driver took the request. A device without the setting (a pseudo-terminal)
// refuses; the port works as before then.
bool Request(int descriptor);

} // namespace LowLatency
