#include "ControllerLine.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>

namespace q5emu {

namespace {

constexpr size_t LogCapacity = 100000;
// How soon a device that the PC opens again is heard.
constexpr std::chrono::milliseconds PeerLookInterval{5};
constexpr uint8_t CmdReadLive = 0, CmdWriteLive = 1, CmdReadParam = 2, CmdWriteParam = 3;

timespec ToTimespec(std::chrono::nanoseconds span) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(span);
    return {static_cast<time_t>(seconds.count()), static_cast<long>((span - seconds).count())};
}

} // namespace

ControllerLine::ControllerLine(std::chrono::microseconds replyDelay) : replyDelay_(replyDelay) {
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe2");
    wakeRead_ = UniqueFd(fds[0]);
    wakeWrite_ = UniqueFd(fds[1]);
}

ControllerLine::~ControllerLine() {
    stop();
}

void ControllerLine::start() {
    if (thread_.joinable())
        return;
    stopping_ = false;
    thread_ = std::thread(&ControllerLine::serve, this);
}

void ControllerLine::stop() {
    if (!thread_.joinable())
        return;
    stopping_ = true;
    wake();
    thread_.join();
}

double ControllerLine::engineSeconds() const {
    return std::chrono::duration<double>(Clock::now() - engineStarted_).count();
}

void ControllerLine::setEngine(LiveEngine engine) {
    std::lock_guard lock(mutex_);
    state_.setEngine(std::move(engine));
    engineStarted_ = Clock::now();
}

double ControllerLine::engineTime() const {
    std::lock_guard lock(mutex_);
    return engineSeconds();
}

uint16_t ControllerLine::param(uint8_t address) const {
    std::lock_guard lock(mutex_);
    return state_.read(Space::Param, address, engineSeconds());
}

void ControllerLine::setParam(uint8_t address, uint16_t value) {
    std::lock_guard lock(mutex_);
    state_.write(Space::Param, address, value);
}

uint16_t ControllerLine::live(uint8_t address) const {
    std::lock_guard lock(mutex_);
    return state_.read(Space::Live, address, engineSeconds());
}

void ControllerLine::setLive(uint8_t address, uint16_t value) {
    std::lock_guard lock(mutex_);
    state_.write(Space::Live, address, value);
}

void ControllerLine::setReplyDelay(std::chrono::microseconds delay) {
    std::lock_guard lock(mutex_);
    replyDelay_ = delay;
}

void ControllerLine::setZeroHead(bool zeroHead) {
    std::lock_guard lock(mutex_);
    zeroHead_ = zeroHead;
}

std::vector<LoggedFrame> ControllerLine::frameLog() const {
    std::lock_guard lock(mutex_);
    return {log_.begin(), log_.end()};
}

void ControllerLine::clearLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
    framesReceived_ = 0;
    blocksSent_ = 0;
    partialsDropped_ = 0;
}

size_t ControllerLine::framesReceived() const {
    std::lock_guard lock(mutex_);
    return framesReceived_;
}

size_t ControllerLine::blocksSent() const {
    std::lock_guard lock(mutex_);
    return blocksSent_;
}

size_t ControllerLine::partialsDropped() const {
    std::lock_guard lock(mutex_);
    return partialsDropped_;
}

bool ControllerLine::waitForFrames(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return progress_.wait_for(lock, timeout, [&] { return framesReceived_ >= count; });
}

bool ControllerLine::waitForSent(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return progress_.wait_for(lock, timeout, [&] { return blocksSent_ >= count; });
}

void ControllerLine::setFrameObserver(std::function<void(const LoggedFrame&)> observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

void ControllerLine::wake() {
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(wakeWrite_.get(), &byte, 1);
}

void ControllerLine::schedule(Clock::time_point due, std::vector<uint8_t> bytes) {
    const auto later = std::upper_bound(outgoing_.begin(), outgoing_.end(), due,
                                        [](auto time, const Outgoing& o) { return time < o.due; });
    outgoing_.insert(later, Outgoing{due, std::move(bytes)});
}

std::optional<ControllerLine::Clock::time_point> ControllerLine::nextDue() const {
    std::lock_guard lock(mutex_);
    if (outgoing_.empty())
        return std::nullopt;
    return outgoing_.front().due;
}

void ControllerLine::sendDue(Clock::time_point now) {
    std::lock_guard lock(mutex_);
    // What falls due while nobody has the device open is lost, as on a port that is closed.
    pollfd peer{pty_.master(), 0, 0};
    if (!outgoing_.empty() && ::poll(&peer, 1, 0) > 0 && (peer.revents & POLLHUP)) {
        while (!outgoing_.empty() && outgoing_.front().due <= now)
            outgoing_.pop_front();
        return;
    }
    bool sent = false;
    while (!outgoing_.empty() && outgoing_.front().due <= now) {
        const std::vector<uint8_t>& bytes = outgoing_.front().bytes;
        [[maybe_unused]] const ssize_t written = ::write(pty_.master(), bytes.data(), bytes.size());
        outgoing_.pop_front();
        ++blocksSent_;
        sent = true;
    }
    if (sent)
        progress_.notify_all();
}

void ControllerLine::hangUpIfPending() {
    std::lock_guard lock(mutex_);
    if (!hangUpPending_)
        return;
    hangUpPending_ = false;
    outgoing_.clear();
    busyUntil_ = {};
    pty_.renew();
}

void ControllerLine::dropOutgoing() {
    std::lock_guard lock(mutex_);
    outgoing_.clear();
    busyUntil_ = {};
}

void ControllerLine::serve() {
    std::vector<uint8_t> partial;
    Clock::time_point lastByte{};
    std::array<uint8_t, 256> chunk{};
    bool unplugged = false;

    while (!stopping_) {
        std::optional<Clock::time_point> deadline = nextDue();
        if (!partial.empty())
            deadline = std::min(deadline.value_or(Clock::time_point::max()), lastByte + ResyncGap);
        timespec wait{};
        if (deadline)
            wait = ToTimespec(std::max(Clock::duration::zero(), *deadline - Clock::now()));

        std::array<pollfd, 2> fds{{{pty_.master(), POLLIN, 0}, {wakeRead_.get(), POLLIN, 0}}};
        // While nobody has the device open the master reports a hang-up at once, without end;
        // it is looked at again after a pause, and only the wake-up is listened to meanwhile.
        if (unplugged) {
            timespec pause = ToTimespec(PeerLookInterval);
            if (deadline && *deadline - Clock::now() < PeerLookInterval)
                pause = wait;
            if (::ppoll(&fds[1], 1, &pause, nullptr) < 0 && errno != EINTR)
                break;
            fds[0].revents = 0;
            unplugged = false;
        } else if (::ppoll(fds.data(), fds.size(), deadline ? &wait : nullptr, nullptr) < 0 &&
                   errno != EINTR) {
            break;
        }
        if (stopping_)
            break;
        if (fds[1].revents & POLLIN)
            while (::read(wakeRead_.get(), chunk.data(), chunk.size()) > 0) {
            }
        if ((fds[0].revents & POLLHUP) && !(fds[0].revents & POLLIN)) {
            // The PC closed the device: what was due for it is lost, as on a pulled cable.
            unplugged = true;
            partial.clear();
            dropOutgoing();
            continue;
        }

        Clock::time_point now = Clock::now();
        if (!partial.empty() && now - lastByte > ResyncGap) {
            partial.clear();
            std::lock_guard lock(mutex_);
            ++partialsDropped_;
            progress_.notify_all();
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t count = ::read(pty_.master(), chunk.data(), chunk.size());
            for (ssize_t i = 0; i < count; ++i) {
                partial.push_back(chunk[static_cast<size_t>(i)]);
                if (partial.size() == Frame::Size) {
                    Frame::Bytes frame{};
                    std::copy(partial.begin(), partial.end(), frame.begin());
                    partial.clear();
                    handleFrame(frame, now);
                }
            }
            if (count > 0)
                lastByte = now;
            if (hangUpPending_)
                partial.clear();
            hangUpIfPending();
        }
        sendDue(Clock::now());
    }
}

void ControllerLine::handleFrame(const Frame::Bytes& bytes, Clock::time_point now) {
    LoggedFrame logged{bytes, bytes[0], bytes[1], Frame::Word(bytes), Frame::ChecksumOk(bytes)};
    std::function<void(const LoggedFrame&)> observer;
    {
        std::lock_guard lock(mutex_);
        log_.push_back(logged);
        if (log_.size() > LogCapacity)
            log_.pop_front();
        ++framesReceived_;
        progress_.notify_all();
        observer = observer_;

        if (logged.checksumOk && logged.command <= CmdWriteParam) {
            Reply reply = answer(bytes);
            if (!reply.bytes.empty()) {
                busyUntil_ = std::max(now, busyUntil_) + reply.delay;
                schedule(busyUntil_, std::move(reply.bytes));
            }
        }
    }
    if (observer)
        observer(logged);
}

uint16_t ControllerLine::carryOut(const Frame::Bytes& request) {
    const uint8_t address = request[1];
    const uint16_t value = Frame::Word(request);
    switch (request[0]) {
    case CmdReadLive:
        return state_.read(Space::Live, address, engineSeconds());
    case CmdWriteLive:
        state_.write(Space::Live, address, value);
        break;
    case CmdReadParam:
        return state_.read(Space::Param, address, engineSeconds());
    case CmdWriteParam:
        state_.write(Space::Param, address, value);
        break;
    }
    return value;
}

ControllerLine::Reply ControllerLine::answer(const Frame::Bytes& request) {
    const uint16_t word = carryOut(request);
    const Frame::Bytes frame =
        zeroHead_ ? Frame::Build(0, 0, word) : Frame::Build(request[0], request[1], word);
    return {{frame.begin(), frame.end()}, replyDelay_};
}

} // namespace q5emu
