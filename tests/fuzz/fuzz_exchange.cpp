// One command exchange over an in-memory line (MemoryLine): the controller answers with any
// byte string, or bytes wait on the line before the request, or the device hangs up when the
// request goes out. Bytes waiting before the request are emptied away unread. Whatever the
// reply: five bytes with a correct checksum are taken as they are; no byte at all fails the
// exchange with ReplyFrame as it was; anything else is garbled and asked for again, at most
// twice, and the controller answers the next request properly. A hang-up fails the exchange
// with nothing sent. Nothing is left waiting afterwards. The same as fuzz_serial_exchange
// without the reply window, so it runs thousands of times faster.

#include "FuzzCheck.h"
#include "MemoryLine.h"

#include "ControllerLink.h"
#include "ExchangeObserver.h"
#include "Protocol.h"
#include "WindowLink.h"

#include <QByteArray>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr int32_t BaudRate = 19200;
constexpr size_t MaxBlock = 64;

QString Hex(const std::vector<uint8_t>& bytes) {
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                          static_cast<qsizetype>(bytes.size()))
                                   .toHex(' '));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Require(WindowLink().Open(u"memory"_qs, BaudRate), "the line opens");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const auto command = static_cast<uint8_t>(data.ConsumeIntegralInRange(0, 3));
    const auto address = data.ConsumeIntegral<uint8_t>();
    const auto value = data.ConsumeIntegral<uint16_t>();
    const bool hangUp = data.ConsumeIntegralInRange(0, 15) == 0;
    const std::vector<uint8_t> raw =
        data.ConsumeBytes<uint8_t>(data.ConsumeIntegralInRange<size_t>(0, MaxBlock));
    const std::vector<uint8_t> reply =
        data.ConsumeBytes<uint8_t>(data.ConsumeIntegralInRange<size_t>(0, MaxBlock));

    if (!WindowLink().Opened())
        Require(WindowLink().ReopenLost(), "a lost line opens again");
    MemoryLine::TakeRequests();
    MemoryLine::PutOnLine(raw);
    MemoryLine::ReplyNextWith(reply);
    if (hangUp)
        MemoryLine::HangUpAtNextRequest();

    std::vector<ExchangeRecord> published;
    const ExchangeObservers::Subscription watch =
        WindowLink().Observe([&](const ExchangeRecord& record) { published.push_back(record); });
    const Frame::Bytes before = ReplyFrame();
    const bool accepted = SendCommand(command, address, value);
    const Frame::Bytes after = ReplyFrame();

    const bool silent = reply.empty();
    const bool proper = reply.size() == Frame::Size &&
                        Frame::ChecksumOk({reply[0], reply[1], reply[2], reply[3], reply[4]});
    const std::vector<Frame::Bytes> requests = MemoryLine::TakeRequests();
    const QString detail = u"raw "_qs + Hex(raw) + u", reply "_qs + Hex(reply) +
                           (hangUp ? u", hang-up"_qs : QString()) + u", frame "_qs +
                           Hex({after.begin(), after.end()});
    Require(MemoryLine::Waiting() == 0, "nothing is left waiting", detail);
    Require(published.size() == 1, "one record published per exchange", detail);
    const ExchangeRecord& record = published.front();
    Require(record.command == command && record.address == address && record.sent == value &&
                record.reply == ReplyValue() && record.replyChecksum == after[Frame::Size - 1],
            "the record names the exchange", detail);
    for (const Frame::Bytes& request : requests)
        Require(request == Frame::Build(command, address, value),
                "every request frame is built from the arguments", detail);

    if (hangUp) {
        Require(!accepted && requests.empty() && after == before,
                "a hang-up fails the exchange and leaves the frame", detail);
        Require(record.outcome == ExchangeOutcome::PortGone && !WindowLink().Opened() &&
                    WindowLink().Lost(),
                "a hang-up loses the port", detail);
        return 0;
    }
    const size_t expectedRequests = silent || proper ? 1 : 2;
    Require(requests.size() == expectedRequests, "one request, and one more after a garbled reply",
            detail);
    Require(record.attempts == static_cast<int>(expectedRequests), "the attempts counted", detail);
    Require(accepted == !silent, "only silence fails the exchange", detail);
    if (silent)
        Require(after == before && record.outcome == ExchangeOutcome::NoReply,
                "no reply leaves the frame as it was", detail);
    else if (proper)
        Require(std::equal(after.begin(), after.end(), reply.begin()),
                "a proper reply is taken as it is", detail);
    else
        Require(Frame::ChecksumOk(after) && after[0] == command && after[1] == address,
                "the request asked again gets the controller's own reply", detail);
    Require(ReplyValue() == Frame::Word(after), "the reply word is bytes 2 and 3", detail);
    return 0;
}
