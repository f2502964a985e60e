#include "Protocol.h"

#include "ControllerLink.h"
#include "WindowLink.h"

#include <utility>

const Frame::Bytes& ReplyFrame() {
    return WindowLink().ReplyFrame();
}

uint16_t ReplyValue() {
    return WindowLink().ReplyValue();
}

void HoldWrites(bool held) {
    WindowLink().HoldWrites(held);
}

bool WritesHeld() {
    return WindowLink().WritesHeld();
}

bool SendCommand(uint8_t command, uint8_t address, uint16_t value) {
    return WindowLink().SendCommand(command, address, value);
}

long double ReplyAsNumber() {
    return static_cast<long double>(ReplyValue());
}

bool ReplyLowByteSet() {
    return (ReplyValue() & 0xFF) != 0;
}

long double ReplyCorrectionPercent() {
    return CorrectionPercent(ReplyValue());
}

long double CorrectionPercent(uint16_t word) {
    const int difference = static_cast<int>(word) - 1024;
    return static_cast<long double>(difference) / 10;
}

long double ReplyThousandths() {
    return static_cast<long double>(ReplyValue()) / 1000;
}
