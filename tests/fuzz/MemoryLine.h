#pragma once
// The serial line of the exchange fuzz target, in memory: SerialLine's routines over a byte
// queue (one line: every SerialLine is this one), with a controller behind it that answers at once,
// so that an exchange costs no reply window. The controller answers like the emulator (reads give
// the word held, writes store and echo it; a wrong checksum or an unknown command gets nothing),
// unless a reply was scripted for the next request.

#include <Frame.h>

#include <cstdint>
#include <vector>

namespace MemoryLine {

// Puts bytes on the line at once, unasked.
void PutOnLine(const std::vector<uint8_t>& bytes);
// The next request with a correct checksum is answered with exactly these bytes (nothing
// for an empty list).
void ReplyNextWith(std::vector<uint8_t> bytes);
// The device hangs up when the next request is handed to it.
void HangUpAtNextRequest();

// Requests received since the last call, oldest first.
std::vector<Frame::Bytes> TakeRequests();
// Bytes waiting to be read.
std::size_t Waiting();

} // namespace MemoryLine
