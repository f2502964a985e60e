#include "Q5Emulator.h"

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
constexpr uint8_t CmdReadLive = 0, CmdWriteLive = 1, CmdReadParam = 2, CmdWriteParam = 3;
// Bytes that a long reply drags behind it.
constexpr std::array<uint8_t, 2> TrailingNoise{0xA5, 0x5A};

timespec ToTimespec(std::chrono::nanoseconds span) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(span);
    return {static_cast<time_t>(seconds.count()), static_cast<long>((span - seconds).count())};
}

} // namespace

Q5Emulator::Q5Emulator(EmulatorOptions options)
    : replyDelay_(options.replyDelay), zeroHead_(options.zeroHead), fault_(options.fault) {
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe2");
    wakeRead_ = UniqueFd(fds[0]);
    wakeWrite_ = UniqueFd(fds[1]);
    if (!options.wordsFile.empty())
        for (const WordAssignment& word : LoadWordsFile(options.wordsFile))
            state_.write(word.space, word.address, word.value);
    if (options.identity)
        state_.write(Space::Param, IdentityAddress, *options.identity);
}

Q5Emulator::~Q5Emulator() {
    stop();
}

void Q5Emulator::start() {
    if (thread_.joinable())
        return;
    stopping_ = false;
    thread_ = std::thread(&Q5Emulator::serve, this);
}

void Q5Emulator::stop() {
    if (!thread_.joinable())
        return;
    stopping_ = true;
    wake();
    thread_.join();
}

double Q5Emulator::engineSeconds() const {
    return std::chrono::duration<double>(Clock::now() - started_).count();
}

uint16_t Q5Emulator::param(uint8_t address) const {
    std::lock_guard lock(mutex_);
    return state_.read(Space::Param, address, engineSeconds());
}

void Q5Emulator::setParam(uint8_t address, uint16_t value) {
    std::lock_guard lock(mutex_);
    state_.write(Space::Param, address, value);
}

uint16_t Q5Emulator::live(uint8_t address) const {
    std::lock_guard lock(mutex_);
    return state_.read(Space::Live, address, engineSeconds());
}

void Q5Emulator::setLive(uint8_t address, uint16_t value) {
    std::lock_guard lock(mutex_);
    state_.write(Space::Live, address, value);
}

void Q5Emulator::setFault(const FaultSpec& fault) {
    std::lock_guard lock(mutex_);
    fault_ = fault;
    faultMatches_ = 0;
}

FaultSpec Q5Emulator::fault() const {
    std::lock_guard lock(mutex_);
    return fault_;
}

void Q5Emulator::setReplyDelay(std::chrono::microseconds delay) {
    std::lock_guard lock(mutex_);
    replyDelay_ = delay;
}

void Q5Emulator::setZeroHead(bool zeroHead) {
    std::lock_guard lock(mutex_);
    zeroHead_ = zeroHead;
}

void Q5Emulator::replyNextWith(std::vector<uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    scriptedReplies_.push_back(std::move(bytes));
}

void Q5Emulator::sendRaw(std::vector<uint8_t> bytes) {
    {
        std::lock_guard lock(mutex_);
        schedule(Clock::now(), std::move(bytes));
    }
    wake();
}

std::vector<LoggedFrame> Q5Emulator::frameLog() const {
    std::lock_guard lock(mutex_);
    return {log_.begin(), log_.end()};
}

void Q5Emulator::clearLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
    framesReceived_ = 0;
    blocksSent_ = 0;
    partialsDropped_ = 0;
}

size_t Q5Emulator::framesReceived() const {
    std::lock_guard lock(mutex_);
    return framesReceived_;
}

size_t Q5Emulator::blocksSent() const {
    std::lock_guard lock(mutex_);
    return blocksSent_;
}

size_t Q5Emulator::partialsDropped() const {
    std::lock_guard lock(mutex_);
    return partialsDropped_;
}

bool Q5Emulator::waitForFrames(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return progress_.wait_for(lock, timeout, [&] { return framesReceived_ >= count; });
}

bool Q5Emulator::waitForSent(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return progress_.wait_for(lock, timeout, [&] { return blocksSent_ >= count; });
}

void Q5Emulator::setFrameObserver(std::function<void(const LoggedFrame&)> observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

void Q5Emulator::wake() {
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(wakeWrite_.get(), &byte, 1);
}

void Q5Emulator::schedule(Clock::time_point due, std::vector<uint8_t> bytes) {
    const auto later = std::upper_bound(outgoing_.begin(), outgoing_.end(), due,
                                        [](auto time, const Outgoing& o) { return time < o.due; });
    outgoing_.insert(later, Outgoing{due, std::move(bytes)});
}

std::optional<Q5Emulator::Clock::time_point> Q5Emulator::nextDue() const {
    std::lock_guard lock(mutex_);
    if (outgoing_.empty())
        return std::nullopt;
    return outgoing_.front().due;
}

void Q5Emulator::sendDue(Clock::time_point now) {
    std::lock_guard lock(mutex_);
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

void Q5Emulator::serve() {
    std::vector<uint8_t> partial;
    Clock::time_point lastByte{};
    std::array<uint8_t, 256> chunk{};

    while (!stopping_) {
        std::optional<Clock::time_point> deadline = nextDue();
        if (!partial.empty())
            deadline = std::min(deadline.value_or(Clock::time_point::max()), lastByte + ResyncGap);
        timespec wait{};
        if (deadline)
            wait = ToTimespec(std::max(Clock::duration::zero(), *deadline - Clock::now()));

        std::array<pollfd, 2> fds{{{pty_.master(), POLLIN, 0}, {wakeRead_.get(), POLLIN, 0}}};
        if (::ppoll(fds.data(), fds.size(), deadline ? &wait : nullptr, nullptr) < 0 &&
            errno != EINTR)
            break;
        if (stopping_)
            break;
        if (fds[1].revents & POLLIN)
            while (::read(wakeRead_.get(), chunk.data(), chunk.size()) > 0) {
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
        }
        sendDue(Clock::now());
    }
}

void Q5Emulator::handleFrame(const Frame::Bytes& bytes, Clock::time_point now) {
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
            bool faultHit = false;
            std::vector<uint8_t> reply = answer(bytes, faultHit);
            auto due = now + replyDelay_;
            if (faultHit && fault_.mode == FaultMode::LateReply)
                due = now + LateReplyDelay;
            if (!reply.empty())
                schedule(due, std::move(reply));
        }
    }
    if (observer)
        observer(logged);
}

// Carries out the request and builds what goes back; empty for no reply. Called locked.
std::vector<uint8_t> Q5Emulator::answer(const Frame::Bytes& request, bool& faultHit) {
    const uint8_t command = request[0];
    const uint8_t address = request[1];
    if (fault_.matches(command, address))
        faultHit = fault_.hits(++faultMatches_);
    const bool scripted = !scriptedReplies_.empty();
    if (faultHit && fault_.mode == FaultMode::Silence && !scripted)
        return {};

    const uint16_t value = Frame::Word(request);
    uint16_t word = value;
    switch (command) {
    case CmdReadLive:
        word = state_.read(Space::Live, address, engineSeconds());
        break;
    case CmdWriteLive:
        state_.write(Space::Live, address, value);
        break;
    case CmdReadParam:
        word = state_.read(Space::Param, address, engineSeconds());
        break;
    case CmdWriteParam:
        state_.write(Space::Param, address, value);
        break;
    }

    if (scripted) {
        faultHit = false;
        std::vector<uint8_t> bytes = std::move(scriptedReplies_.front());
        scriptedReplies_.pop_front();
        return bytes;
    }
    const Frame::Bytes frame =
        zeroHead_ ? Frame::Build(0, 0, word) : Frame::Build(command, address, word);
    std::vector<uint8_t> reply(frame.begin(), frame.end());
    if (!faultHit)
        return reply;
    switch (fault_.mode) {
    case FaultMode::WrongChecksum:
        reply[4] = static_cast<uint8_t>(reply[4] + 1);
        break;
    case FaultMode::ShortReply:
        reply.resize(3);
        break;
    case FaultMode::LongReply:
        reply.insert(reply.end(), TrailingNoise.begin(), TrailingNoise.end());
        break;
    default:
        break;
    }
    return reply;
}

} // namespace q5emu
