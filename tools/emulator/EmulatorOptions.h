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
// A late reply comes, unless the fault says otherwise, after the program's 40 ms reply window
// has closed and while the line is still waited on before the next request.
inline constexpr std::chrono::milliseconds LateReplyDelay{60};

enum class FaultMode {
    None,
    Silence,       // the frame is not heard: no reply, nothing stored
    WrongChecksum, // the reply's checksum is one off
    ShortReply,    // only the first 3 bytes of the reply
    LongReply,     // the reply followed by 2 extra bytes
    LateReply,     // the controller stalls: the reply comes `delay` after the request, and
                   // the requests it receives meanwhile are answered after it, in order
};

// Which frames a fault hits. Frames are counted from the moment the fault is set, and only
// those with a correct checksum that match the command and address filters.
struct FaultSpec {
    FaultSpec() = default;
    FaultSpec(FaultMode faultMode) : mode(faultMode) {}

    FaultMode mode = FaultMode::None;
    uint32_t after = 0; // this many frames are answered normally first
    uint32_t every = 1; // after them, every Nth frame is hit (1: all)
    uint32_t times = 0; // at most this many frames are hit (0: no limit)
    std::optional<uint8_t> command;
    std::optional<uint8_t> address;
    std::chrono::milliseconds delay = LateReplyDelay; // of a late reply

    bool matches(uint8_t frameCommand, uint8_t frameAddress) const {
        return (!command || *command == frameCommand) && (!address || *address == frameAddress);
    }
    // `ordinal` is the 1-based count of matching frames since the fault was set.
    bool hits(uint32_t ordinal) const {
        return mode != FaultMode::None && ordinal > after && (ordinal - after) % every == 0 &&
               (times == 0 || (ordinal - after) / every <= times);
    }
};

// "none", "silence", "checksum", "short", "long", "late".
std::string_view FaultModeName(FaultMode mode);

// Parses "MODE[,after=N][,every=N][,times=N][,cmd=C][,addr=A][,ms=N]"; nullopt when
// malformed. `ms` is the delay of a late reply, at most 60000.
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
    // Plays the scripted drive (ScriptedDrive.h) from the start at this many times real time,
    // instead of idling.
    std::optional<double> driveSpeed;
};

} // namespace q5emu
