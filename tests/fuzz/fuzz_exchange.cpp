// One command exchange against the controller emulator, which answers with any byte string,
// or puts any bytes on the line before the request and then keeps silent, or both. Whatever
// arrives: SendCommand is true exactly when five bytes arrived with a correct checksum, and
// ReplyFrame holds the first min(n, 5) bytes that arrived, the rest as it was.
//
// The bytes that arrived within the reply window are counted after the exchange: the
// emulator's blocks are all on the line by then, and what the exchange left waiting is read
// off. A block that a busy machine delivers late is therefore judged as it arrived.

#include "FuzzCheck.h"
#include "QtOnce.h"

#include "Comm_Fun.h"
#include "EmulatedPorts.h"
#include "Protocol.h"

#include <fuzzer/FuzzedDataProvider.h>

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
    size_t blocks = 0;
    if (!raw.empty()) {
        emulator.sendRaw(raw);
        ++blocks;
        Require(emulator.waitForSent(blocks, SentWithin), "the raw bytes go out");
    }
    emulator.replyNextWith(reply); // empty: no answer at all
    if (!reply.empty())
        ++blocks;

    const Frame::Bytes before = ReplyFrame;
    const bool accepted = SendCommand(command, address, value);
    const Frame::Bytes after = ReplyFrame;

    Require(emulator.waitForFrames(1, SentWithin), "the request reaches the emulator");
    Require(emulator.waitForSent(blocks, SentWithin), "the reply goes out");
    const size_t leftover = DrainLeftover();

    std::vector<uint8_t> line = raw;
    line.insert(line.end(), reply.begin(), reply.end());
    const QString detail = u"line "_qs + Hex(line) + u", left waiting "_qs +
                           QString::number(leftover) + u", frame "_qs +
                           Hex({after.begin(), after.end()});
    Require(leftover <= line.size(), "only the emulator's bytes arrive", detail);
    const size_t arrived = line.size() - leftover;

    const std::vector<q5emu::LoggedFrame> frames = emulator.frameLog();
    Require(frames.size() == 1 && frames.front().bytes == Frame::Build(command, address, value),
            "one request frame, built from the arguments", detail);

    const size_t stored = std::min<size_t>(arrived, Frame::Size);
    for (size_t i = 0; i < Frame::Size; ++i)
        Require(after[i] == (i < stored ? line[i] : before[i]),
                "the frame holds the first bytes that arrived, the rest as it was", detail);
    Require(ReplyValue() == Frame::Word(after), "the reply word is bytes 2 and 3", detail);
    const bool wanted = arrived == Frame::Size && Frame::ChecksumOk(after);
    Require(accepted == wanted, "true exactly for five bytes with a correct checksum", detail);
    return 0;
}
