// The same exchange as fuzz_exchange, through the real serial port code and a pseudo-terminal
// (slow: every silent reply waits out the reply window).
//
// One command exchange against the controller emulator, which answers with any byte string,
// or puts any bytes on the line before the request and then keeps silent, or both. Bytes
// on the line before the request are emptied away unread. Whatever the reply: five bytes with a
// correct checksum are taken as they are; no byte at all fails the exchange with ReplyFrame
// as it was; anything else is garbled and asked for once more, which the emulator answers
// properly. Nothing is left waiting afterwards.

#include "FuzzCheck.h"
#include "QtOnce.h"

#include "Comm_Fun.h"
#include "EmulatedPorts.h"
#include "Protocol.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr int32_t BaudRate = 19200;
constexpr std::chrono::milliseconds SentWithin{5000};
constexpr size_t MaxBlock = 64; // a block the pseudo-terminal passes on in one piece

EmulatedPorts& Ports() {
    static EmulatedPorts ports;
    return ports;
}

QString Hex(const std::vector<uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()))
        .toHex(' ');
}

// Takes what is waiting on the port until the line stays quiet for a reply window.
size_t DrainLeftover() {
    size_t leftover = 0;
    uint8_t sink[Frame::Size];
    for (int32_t n; (n = Comm_Fun::ReadPort(sink, 1)) > 0;)
        leftover += static_cast<size_t>(n);
    return leftover;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnsureApplication(false);
    Ports();
    Require(Comm_Fun::OpenPort(1, BaudRate), "the emulator's port opens");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const auto command = static_cast<uint8_t>(data.ConsumeIntegralInRange(0, 3));
    const auto address = data.ConsumeIntegral<uint8_t>();
    const auto value = data.ConsumeIntegral<uint16_t>();
    const std::vector<uint8_t> raw =
        data.ConsumeBytes<uint8_t>(data.ConsumeIntegralInRange<size_t>(0, MaxBlock));
    const std::vector<uint8_t> reply =
        data.ConsumeBytes<uint8_t>(data.ConsumeIntegralInRange<size_t>(0, MaxBlock));

    q5emu::Q5Emulator& emulator = Ports().emulator();
    emulator.clearLog();
    if (!raw.empty()) {
        emulator.sendRaw(raw);
        Require(emulator.waitForSent(1, SentWithin), "the raw bytes go out");
        // The pseudo-terminal hands them on a moment after they went out, so they may not be
        // waiting yet when the request is made; on a line known to have carried noise the
        // exchange waits for quiet first, which takes them whenever they arrive.
        Comm_Fun::MarkUnsettled();
    }
    emulator.replyNextWith(reply); // empty: no answer at all

    const Frame::Bytes before = ReplyFrame();
    const bool accepted = SendCommand(command, address, value);
    const Frame::Bytes after = ReplyFrame();

    const bool silent = reply.empty();
    const bool proper = reply.size() == Frame::Size &&
                        Frame::ChecksumOk({reply[0], reply[1], reply[2], reply[3], reply[4]});
    const size_t requests = silent || proper ? 1 : 2;
    Require(emulator.waitForFrames(requests, SentWithin), "the requests reach the emulator");
    const size_t leftover = DrainLeftover();
    const QString detail = u"raw "_qs + Hex(raw) + u", reply "_qs + Hex(reply) +
                           u", left waiting "_qs + QString::number(leftover) + u", frame "_qs +
                           Hex({after.begin(), after.end()});
    Require(leftover == 0, "nothing is left waiting", detail);

    const std::vector<q5emu::LoggedFrame> frames = emulator.frameLog();
    Require(frames.size() == requests, "one request, and one more after a garbled reply", detail);
    for (const q5emu::LoggedFrame& frame : frames)
        Require(frame.bytes == Frame::Build(command, address, value),
                "every request frame is built from the arguments", detail);

    Require(accepted == !silent, "only silence fails the exchange", detail);
    if (silent)
        Require(after == before, "no reply leaves the frame as it was", detail);
    else if (proper)
        Require(std::equal(after.begin(), after.end(), reply.begin()),
                "a proper reply is taken as it is", detail);
    else
        Require(Frame::ChecksumOk(after) && after[0] == command && after[1] == address,
                "the request asked again gets the emulator's own reply", detail);
    Require(ReplyValue() == Frame::Word(after), "the reply word is bytes 2 and 3", detail);
    return 0;
}
