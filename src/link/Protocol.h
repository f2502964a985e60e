#pragma once
// The controller's command exchange over the window's link (WindowLink.h, ControllerLink.h):
// one request frame, one reply frame, the reply word left in ReplyValue for the caller to
// read at once.

#include "Frame.h"

#include <cstdint>
#include <functional>

inline constexpr uint8_t CmdReadLive = 0;
inline constexpr uint8_t CmdWriteLive = 1;
inline constexpr uint8_t CmdReadParam = 2;
inline constexpr uint8_t CmdWriteParam = 3;

// The last reply frame as it arrived: bytes that no reply reached keep their old content.
const Frame::Bytes& ReplyFrame();

// The data word of ReplyFrame (bytes 2 and 3, low byte first).
uint16_t ReplyValue();

// ControllerLink::SendCommand on the window's link.
bool SendCommand(uint8_t command, uint8_t address, uint16_t value);

// Held while the controller on the line is not known to be the connected one.
void HoldWrites(bool held);
bool WritesHeld();

long double ReplyAsNumber();
bool ReplyLowByteSet();
long double ReplyCorrectionPercent();
// A trim word as a percent: (word − 1024) ÷ 10.
long double CorrectionPercent(uint16_t word);
long double ReplyThousandths();
