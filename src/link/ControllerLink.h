#pragma once
// One controller on one serial device: the device, the exchange over it (request, reply
// window, retries of garbled replies, the late-reply rule, emptying stale input), the last
// reply frame, whether writes are held, and the listeners to its exchanges. Several links
// exist at once, each on its own device, and share nothing. A link is used from one thread
// at a time: the thread that created it.

#include "ExchangeObserver.h"
#include "Frame.h"
#include "SerialLine.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class ControllerLink {
public:
    ControllerLink();
    ~ControllerLink(); // closes the device
    ControllerLink(const ControllerLink&) = delete;
    ControllerLink& operator=(const ControllerLink&) = delete;

    // The device: 8 data bits, no parity, two stop bits, low latency asked for (SerialLine.h).
    bool Open(const QString& device, int32_t baudRate);
    bool Open(const QString& device, int32_t baudRate, SerialLine::Refusal* refusal);
    void Close();
    bool Opened() const;
    bool Lost() const; // hung up, not reopened since
    bool ReopenLost();
    QString Device() const;
    void SetDtrLine();
    void ClearRtsLine();

    // Sends one frame and waits for the reply. True when five bytes with a correct checksum
    // came back within the request's own reply window. Reply bytes 0 and 1 are not looked
    // at: the controller does not echo the request there. After an exchange without a good
    // reply the next request waits until the line has been quiet for one reply window, and
    // after one that heard nothing until the controller's worst reply delay has passed too
    // (SerialLine::Settle), so a reply that came too late for an earlier exchange is never
    // taken for this one's: a good reply is always one on a settled line. A garbled reply
    // (wrong checksum, too few or too many bytes) is asked for again, at most twice; silence
    // and a request that did not go out whole are not. The outcome is published to this
    // link's observers. While writes are held a write command sends nothing, tells no
    // observer and returns false.
    bool SendCommand(uint8_t command, uint8_t address, uint16_t value);
    // The data word of ReplyFrame (bytes 2 and 3, low byte first).
    uint16_t ReplyValue() const;
    // The last reply frame as it arrived: bytes that no reply reached keep their old content.
    const Frame::Bytes& ReplyFrame() const;
    // Held while the controller on the line is not known to be the connected one.
    void HoldWrites(bool held);
    bool WritesHeld() const;
    // Runs before every write command goes out, on the link's thread: what must be settled
    // before the controller changes again (the journal of the action before on the disk).
    // When it returns false the write is not sent: SendCommand tells no observer and returns
    // false.
    void SetWriteGate(std::function<bool()> gate);
    // Runs once a write command's request is on the line, before its reply is awaited: what
    // the exchange's outcome will need is made ready in time the line takes anyway. Not run
    // for a request that never went out whole. Like the work below, it must not talk to the
    // controller.
    using WriteSent = std::function<void(uint8_t command, uint8_t address, uint16_t value)>;
    void SetWriteSent(WriteSent sent);
    // Work that can wait for the line (showing what was read): it runs once the next request
    // is on the line, while its reply is awaited, or at RunAwaitingWork, whichever comes
    // first. It must not throw nor talk to the controller: it runs inside an exchange.
    void WhileAwaitingReply(std::function<void()> work);
    void RunAwaitingWork();

    // Listeners to this link's exchanges only.
    [[nodiscard]] ExchangeObservers::Subscription Observe(ExchangeObservers::Observer observer);
    const ExchangeObservers::List& Observers() const { return observers_; }

    // The device itself, for routines that talk to it byte by byte.
    SerialLine& Line() { return line_; }

    // True for the commands that change a word of the controller.
    static bool IsWrite(uint8_t command);

    // A run of many reads (a window's worth of fields) that stops asking a controller which
    // has stopped answering: after FailuresToGiveUp exchanges in a row without a good reply,
    // each further read of the run is not sent and fails as Skipped, so that a silent
    // controller, waited out for its worst reply delay on each request, costs about a second
    // rather than a minute. Writes are always sent. Runs nest; the innermost one counts.
    class ReadRun {
    public:
        explicit ReadRun(ControllerLink& link);
        ~ReadRun();
        ReadRun(const ReadRun&) = delete;
        ReadRun& operator=(const ReadRun&) = delete;

    private:
        friend class ControllerLink;
        ControllerLink& link_;
        ReadRun* outer_;
        int failuresInRow_ = 0;
    };
    static constexpr int FailuresToGiveUp = 3;

private:
    // `sent`: how many times the request went out whole so far (a garbled reply's retry).
    ExchangeOutcome Attempt(const Frame::Bytes& request, int& sent);
    ExchangeOutcome OutcomeOf(int32_t received) const;

    SerialLine line_;
    Frame::Bytes reply_{};
    bool writesHeld_ = false;
    std::function<bool()> writeGate_;
    WriteSent writeSent_;
    std::vector<std::function<void()>> awaiting_;
    ExchangeObservers::List observers_;
    ReadRun* readRun_ = nullptr;
};
