#include "MemoryLine.h"

#include "SerialLine.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <optional>
#include <utility>

namespace {

struct Line {
    bool open = false;
    bool lost = false;
    bool hangUp = false;
    std::deque<uint8_t> waiting;
    std::optional<std::vector<uint8_t>> scripted;
    std::vector<Frame::Bytes> requests;
    std::array<uint16_t, 256> params{};
    std::array<uint16_t, 256> live{};
};

Line& TheLine() {
    static Line line;
    return line;
}

std::vector<uint8_t> Answer(Line& line, const Frame::Bytes& request) {
    const uint8_t command = request[0];
    const uint8_t address = request[1];
    const uint16_t value = Frame::Word(request);
    uint16_t word = 0;
    switch (command) {
    case 0:
        word = line.live[address];
        break;
    case 1:
        word = line.live[address] = value;
        break;
    case 2:
        word = line.params[address];
        break;
    case 3:
        word = line.params[address] = value;
        break;
    default:
        return {};
    }
    const Frame::Bytes reply = Frame::Build(command, address, word);
    return {reply.begin(), reply.end()};
}

} // namespace

namespace MemoryLine {

void PutOnLine(const std::vector<uint8_t>& bytes) {
    Line& line = TheLine();
    line.waiting.insert(line.waiting.end(), bytes.begin(), bytes.end());
}

void ReplyNextWith(std::vector<uint8_t> bytes) {
    TheLine().scripted = std::move(bytes);
}

void HangUpAtNextRequest() {
    TheLine().hangUp = true;
}

std::vector<Frame::Bytes> TakeRequests() {
    return std::exchange(TheLine().requests, {});
}

std::size_t Waiting() {
    return TheLine().waiting.size();
}

} // namespace MemoryLine

struct SerialLine::State {};

SerialLine::SerialLine() = default;
SerialLine::~SerialLine() = default;

bool SerialLine::AcceptsBaudRate(int32_t baudRate) {
    return baudRate == 19200;
}

bool SerialLine::Open(const QString&, int32_t baudRate, Refusal*) {
    Line& line = TheLine();
    if (line.open || !AcceptsBaudRate(baudRate))
        return false;
    line.open = true;
    line.lost = false;
    line.waiting.clear();
    return true;
}

void SerialLine::Close() {
    Line& line = TheLine();
    line.open = false;
    line.lost = false;
}

bool SerialLine::Opened() const {
    return TheLine().open;
}

bool SerialLine::Lost() const {
    return TheLine().lost;
}

bool SerialLine::ReopenLost() {
    Line& line = TheLine();
    if (!line.lost || line.open)
        return false;
    line.open = true;
    line.lost = false;
    return true;
}

QString SerialLine::Device() const {
    return u"memory"_qs;
}

bool SerialLine::Write(const uint8_t* bytes, int32_t count) {
    Line& line = TheLine();
    if (!line.open || count <= 0)
        return false;
    if (std::exchange(line.hangUp, false)) {
        line.open = false;
        line.lost = true;
        line.waiting.clear();
        return false;
    }
    if (count != Frame::Size)
        return true;
    Frame::Bytes request{};
    std::memcpy(request.data(), bytes, Frame::Size);
    line.requests.push_back(request);
    if (!Frame::ChecksumOk(request))
        return true;
    std::vector<uint8_t> reply = Answer(line, request);
    if (line.scripted)
        reply = *std::exchange(line.scripted, std::nullopt);
    line.waiting.insert(line.waiting.end(), reply.begin(), reply.end());
    return true;
}

int32_t SerialLine::Read(uint8_t* buffer, uint32_t count) {
    Line& line = TheLine();
    if (!line.open)
        return 0;
    const std::size_t have = line.waiting.size();
    std::copy_n(line.waiting.begin(), std::min<std::size_t>(count, have), buffer);
    line.waiting.clear();
    return static_cast<int32_t>(have);
}

void SerialLine::MarkUnsettled() {}
void SerialLine::MarkUnanswered() {}

// The controller answers at once: whatever is still waiting before a request is stale.
bool SerialLine::Settle() {
    TheLine().waiting.clear();
    return TheLine().open;
}

void SerialLine::SetDtr() {}
void SerialLine::ClearRts() {}
