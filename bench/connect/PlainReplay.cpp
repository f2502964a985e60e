#include "PlainReplay.h"

#include <RawPortClient.h>

#include <chrono>

ReplayResult ReplayPlain(const std::string& device, const std::vector<q5emu::LoggedFrame>& frames,
                         int windowMs) {
    using Clock = std::chrono::steady_clock;
    ReplayResult result;
    const auto start = Clock::now();
    {
        q5emu::RawPortClient client(device);
        for (const q5emu::LoggedFrame& frame : frames) {
            const std::vector<uint8_t> reply = client.exchange(
                {frame.bytes.begin(), frame.bytes.end()}, std::chrono::milliseconds(windowMs));
            ++result.exchanges;
            result.answered += reply.size() == Frame::Size;
        }
    }
    result.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return result;
}
