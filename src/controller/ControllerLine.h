#pragma once
// The controller model on a pseudo-terminal, served by its own thread: a controller that
// always answers, as a sound one on a sound line does. Like the controller it handles one
// request at a time: a reply that is delayed holds back the replies to the requests that come
// in meanwhile, which follow it in order.
//
// Every complete five-byte request with a correct checksum is answered with
// [command, address, word low, word high, sum], or with zeros for the first two bytes when
// the zero head is on, as the controller answers: command 0 reads a live word, 2 a parameter
// word; 1 and 3 store the value in the live or parameter space and echo it. A request with
// a wrong checksum, or with an unknown command, gets no reply. A partial frame followed by
// a pause longer than ResyncGap is dropped, so the controller falls back into step with the
// sender.
//
// All public members may be called from any thread while it serves.

#include "ControllerState.h"
#include "PseudoTerminal.h"

#include <Frame.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace q5emu {

inline constexpr std::chrono::milliseconds ResyncGap{10};

struct LoggedFrame {
    Frame::Bytes bytes{};
    uint8_t command = 0;
    uint8_t address = 0;
    uint16_t value = 0;
    bool checksumOk = false;
};

class ControllerLine {
public:
    using Clock = std::chrono::steady_clock;

    // Opens the pseudo-terminal; does not serve yet. Throws std::system_error.
    explicit ControllerLine(std::chrono::microseconds replyDelay);
    virtual ~ControllerLine();
    ControllerLine(const ControllerLine&) = delete;
    ControllerLine& operator=(const ControllerLine&) = delete;

    const std::string& slavePath() const { return pty_.slavePath(); }
    void linkAt(const std::string& path) { pty_.linkAt(path); }
    LineSettings lineSettings() const { return pty_.lineSettings(); }

    void start();
    // A class that answers otherwise stops the thread in its own destructor.
    void stop();
    bool running() const { return thread_.joinable(); }

    uint16_t param(uint8_t address) const;
    void setParam(uint8_t address, uint16_t value);
    uint16_t live(uint8_t address) const;
    // The live word keeps this value from now on.
    void setLive(uint8_t address, uint16_t value);

    // The live words move with this engine, its time starting now.
    void setEngine(LiveEngine engine);
    // Seconds of the engine's time.
    double engineTime() const;

    void setReplyDelay(std::chrono::microseconds delay);
    void setZeroHead(bool zeroHead);

    // Frames received since the last clearLog (the newest 100000 are kept).
    std::vector<LoggedFrame> frameLog() const;
    void clearLog(); // also restarts the counts below
    size_t framesReceived() const;
    size_t blocksSent() const; // replies and raw blocks put on the line
    size_t partialsDropped() const;
    // Bounded waits: true once that many frames came in / blocks went out since clearLog.
    bool waitForFrames(size_t count, std::chrono::milliseconds timeout) const;
    bool waitForSent(size_t count, std::chrono::milliseconds timeout) const;

    // Called on the serving thread for every frame received, outside the lock.
    void setFrameObserver(std::function<void(const LoggedFrame&)> observer);

protected:
    struct Reply {
        std::vector<uint8_t> bytes; // none: no reply
        Clock::duration delay{};
    };

    // What goes back for a request with a correct checksum and a known command, called on the
    // serving thread with mutex_ held: carries the request out and answers after the delay.
    virtual Reply answer(const Frame::Bytes& request);
    // Reads or stores the request's word; the word the reply carries. Called locked.
    uint16_t carryOut(const Frame::Bytes& request);
    // The cable is pulled once the current frame is handled: the line hangs up, the replies
    // still due are lost, and a new line takes its place at the same link. Call locked, from
    // answer().
    void hangUpAfterFrame() { hangUpPending_ = true; }
    // Queues bytes for the line; call locked, then wake().
    void schedule(Clock::time_point due, std::vector<uint8_t> bytes);
    void wake();

    mutable std::mutex mutex_;
    ControllerState state_;
    std::chrono::microseconds replyDelay_;

private:
    bool zeroHead_ = false;
    bool hangUpPending_ = false;
    // When the reply to the last request goes out: the next one is not answered before.
    Clock::time_point busyUntil_{};
    struct Outgoing {
        Clock::time_point due;
        std::vector<uint8_t> bytes;
    };

    void serve();
    void handleFrame(const Frame::Bytes& bytes, Clock::time_point now);
    std::optional<Clock::time_point> nextDue() const;
    void sendDue(Clock::time_point now);
    void hangUpIfPending();
    void dropOutgoing();
    double engineSeconds() const;

    PseudoTerminal pty_;
    UniqueFd wakeRead_;
    UniqueFd wakeWrite_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    Clock::time_point engineStarted_ = Clock::now();

    mutable std::condition_variable progress_;
    std::deque<Outgoing> outgoing_; // ordered by due time
    std::deque<LoggedFrame> log_;
    size_t framesReceived_ = 0;
    size_t blocksSent_ = 0;
    size_t partialsDropped_ = 0;
    std::function<void(const LoggedFrame&)> observer_;
};

} // namespace q5emu
