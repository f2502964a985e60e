#pragma once
// The controller's command exchange: one request frame, one reply frame, the reply word
// left in ReplyValue for the caller to read at once.

#include "Frame.h"

#include <cstdint>
#include <functional>

inline constexpr uint8_t CmdReadLive = 0;
inline constexpr uint8_t CmdWriteLive = 1;
inline constexpr uint8_t CmdReadParam = 2;
inline constexpr uint8_t CmdWriteParam = 3;

// The last reply frame as it arrived: bytes that no reply reached keep their old content.
extern Frame::Bytes ReplyFrame;

// The data word of ReplyFrame (bytes 2 and 3, low byte first).
uint16_t ReplyValue();

// Sends one frame and waits for the reply. True when five bytes with a correct checksum
// came back within the request's own reply window. Reply bytes 0 and 1 are not looked at: the
// controller does not echo the request there. Every write-parameter command first resets the
// main window's caption, once. After an exchange without a good reply the next request waits
// until the line has been quiet for one reply window (Comm_Fun::SettleLine), so a reply that
// came too late for an earlier exchange is never taken for this one's. A garbled reply (wrong
// checksum, too few or too many bytes) is asked for again, at most twice; silence is not. The
// outcome is published to the exchange observers (ExchangeObserver.h). While writes are held
// a write command sends nothing, tells no observer and returns false.
bool SendCommand(uint8_t command, uint8_t address, uint16_t value);

// Held while the controller on the line is not known to be the connected one.
void HoldWrites(bool held);
bool WritesHeld();

long double ReplyAsNumber();
bool ReplyLowByteSet();
long double ReplyCorrectionPercent();
long double ReplyThousandths();

// The main window installs the caption reset here; the link knows no window.
void SetCaptionResetHook(std::function<void()> hook);
