#pragma once
// What a controller emulator is told at start: reply timing, identity, initial words, fault.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace q5emu {

// The two five-byte frames on a 19200-baud line, 11 bits a byte.
inline constexpr std::chrono::microseconds TwoFramesAt19200{5729};
// A late reply comes after the program's 40 ms reply window has closed and while the line
// is still waited on before the next request.
inline constexpr std::chrono::milliseconds LateReplyDelay{60};

enum class FaultMode {
    None,
    Silence,       // the frame is not heard: no reply, nothing stored
    WrongChecksum, // the reply's checksum is one off
    ShortReply,    // only the first 3 bytes of the reply
    LongReply,     // the reply followed by 2 extra bytes
    LateReply,     // the reply comes LateReplyDelay after the request
};

// Which frames a fault hits. Frames are counted from the moment the fault is set, and only
// those with a correct checksum that match the command and address filters.
struct FaultSpec {
    FaultSpec() = default;
    FaultSpec(FaultMode faultMode) : mode(faultMode) {}

    FaultMode mode = FaultMode::None;
    uint32_t after = 0; // this many frames are answered normally first
    uint32_t every = 1; // after them, every Nth frame is hit (1: all)
    std::optional<uint8_t> command;
    std::optional<uint8_t> address;

    bool matches(uint8_t frameCommand, uint8_t frameAddress) const {
        return (!command || *command == frameCommand) && (!address || *address == frameAddress);
    }
    // `ordinal` is the 1-based count of matching frames since the fault was set.
    bool hits(uint32_t ordinal) const {
        return mode != FaultMode::None && ordinal > after && (ordinal - after) % every == 0;
    }
};

// "none", "silence", "checksum", "short", "long", "late".
std::string_view FaultModeName(FaultMode mode);

// Parses "MODE[,after=N][,every=N][,cmd=C][,addr=A]"; nullopt when malformed.
std::optional<FaultSpec> ParseFaultSpec(std::string_view text);

struct EmulatorOptions {
    // Zero: the reply goes out as soon as the request is complete.
    std::chrono::microseconds replyDelay = TwoFramesAt19200;
    std::optional<uint16_t> identity; // parameter word 47; the default controller says 503
    std::string wordsFile;            // lines "P47=503", "L162=850", "# comment"
    FaultSpec fault;
    // Reply bytes 0 and 1 are zeros (00 00 lo hi sum), as the controller sends them; otherwise
    // they repeat the request's command and address.
    bool zeroHead = false;
};

} // namespace q5emu
