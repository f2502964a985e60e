#include "SerialLine.h"

#include "LowLatency.h"

#include <QSerialPort>
#include <QSocketNotifier>

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t AcceptedBaudRates[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                         19200, 38400, 56000, 57600, 115200, 128000, 256000};

// Enough for every reply and what a noisy line drags behind it in one wait.
constexpr size_t ReadChunk = 256;

struct LineSettings {
    QString device;
    int32_t baudRate = 0;
};

// Qt's read notifier would take replies into QSerialPort's buffer whenever the event loop
// runs between exchanges, and would fire without end on a device that hung up. The
// exchanges read the descriptor themselves, so it stays off.
void SilenceReadNotifier(QSerialPort& serial) {
    for (QSocketNotifier* notifier : serial.findChildren<QSocketNotifier*>())
        notifier->setEnabled(false);
}

std::unique_ptr<QSerialPort> OpenDevice(const LineSettings& wanted, SerialLine::Refusal* refusal) {
    const PortUsers::Holders holders = PortUsers::Find({wanted.device});
    if (const auto other = holders.others.constFind(wanted.device);
        other != holders.others.constEnd()) {
        if (refusal)
            *refusal = {QSerialPort::PermissionError, other->Text(), *other};
        return nullptr;
    }
    auto candidate = std::make_unique<QSerialPort>();
    candidate->setPortName(wanted.device);
    // Open takes an advisory lock and TIOCEXCL, so a device held by another program fails here.
    if (!candidate->open(QIODevice::ReadWrite)) {
        if (refusal)
            *refusal = {static_cast<int>(candidate->error()), candidate->errorString(),
                        std::nullopt};
        return nullptr;
    }
    if (!SerialLine::AcceptsBaudRate(wanted.baudRate)) {
        candidate->close();
        return nullptr;
    }
    SilenceReadNotifier(*candidate);
    // A device that refuses a setting still counts as open: the exchanges show the fault.
    candidate->setBaudRate(wanted.baudRate);
    candidate->setDataBits(QSerialPort::Data8);
    candidate->setParity(QSerialPort::NoParity);
    candidate->setStopBits(QSerialPort::TwoStop);
    candidate->clearError();
    LowLatency::Request(static_cast<int>(candidate->handle()));
    return candidate;
}

// Errors that say the device is gone rather than busy for a moment.
bool DeviceGone(int error) {
    return error != EAGAIN && error != EWOULDBLOCK && error != EINTR;
}

} // namespace

// QSerialPort opens the device (lock file, exclusive use, raw mode) and sets the line; the
// bytes go through its descriptor directly.
struct SerialLine::State {
    std::unique_ptr<QSerialPort> port;
    int descriptor = -1;
    LineSettings settings;
    std::optional<LineSettings> lost;
    // A reply may still be on its way; see Settle.
    bool unsettled = false;
    // When the line was last heard or last waited on: the quiet of Settle counts from here.
    Clock::time_point lastHeard{};
    // When the last request went out.
    Clock::time_point lastRequest{};
    // Until when a reply to an unanswered request may still come; the quiet of Settle counts
    // from here too.
    Clock::time_point lateReplyDue{};

    void Adopt(std::unique_ptr<QSerialPort> opened, const LineSettings& used) {
        port = std::move(opened);
        descriptor = static_cast<int>(port->handle());
        settings = used;
        lost.reset();
        Forget();
    }

    void Release() {
        port->close();
        port.reset();
        descriptor = -1;
        Forget();
    }

    // A device opened or closed afresh carries nothing of an earlier exchange.
    void Forget() {
        unsettled = false;
        lateReplyDue = {};
    }

    // The device hung up or failed: close it and remember it for ReopenLost.
    void Lose() {
        Release();
        lost = settings;
    }

    // Reads and drops whatever is waiting now, without waiting. False when the device hung up.
    bool DiscardWaiting() {
        std::array<uint8_t, ReadChunk> dropped;
        for (;;) {
            pollfd watched{descriptor, POLLIN, 0};
            const int ready = ::poll(&watched, 1, 0);
            if (ready < 0 && !DeviceGone(errno))
                continue;
            const bool readable = ready > 0 && (watched.revents & POLLIN);
            if (ready < 0 || (watched.revents & (POLLERR | POLLNVAL)) ||
                (!readable && (watched.revents & POLLHUP))) {
                Lose();
                return false;
            }
            if (!readable)
                return true;
            const ssize_t got = ::read(descriptor, dropped.data(), dropped.size());
            if (got > 0) {
                lastHeard = Clock::now();
                continue;
            }
            if (got < 0 && !DeviceGone(errno))
                continue;
            Lose();
            return false;
        }
    }
};

SerialLine::SerialLine() : state_(std::make_unique<State>()) {}

SerialLine::~SerialLine() {
    Close();
}

bool SerialLine::AcceptsBaudRate(int32_t baudRate) {
    return std::find(std::begin(AcceptedBaudRates), std::end(AcceptedBaudRates), baudRate) !=
           std::end(AcceptedBaudRates);
}

bool SerialLine::Open(const QString& device, int32_t baudRate, Refusal* refusal) {
    if (state_->port)
        return false;
    const LineSettings wanted{device, baudRate};
    std::unique_ptr<QSerialPort> opened = OpenDevice(wanted, refusal);
    if (!opened)
        return false;
    state_->Adopt(std::move(opened), wanted);
    return true;
}

void SerialLine::Close() {
    state_->lost.reset();
    if (state_->port)
        state_->Release();
}

bool SerialLine::Opened() const {
    return state_->port != nullptr;
}

bool SerialLine::Lost() const {
    return state_->lost.has_value();
}

bool SerialLine::ReopenLost() {
    if (!state_->lost || state_->port)
        return false;
    std::unique_ptr<QSerialPort> opened = OpenDevice(*state_->lost, nullptr);
    if (!opened)
        return false;
    state_->Adopt(std::move(opened), *state_->lost);
    SetDtr();
    ClearRts();
    return true;
}

QString SerialLine::Device() const {
    if (state_->lost)
        return state_->lost->device;
    return state_->port ? state_->settings.device : QString();
}

bool SerialLine::Write(const uint8_t* bytes, int32_t count) {
    State& s = *state_;
    if (!s.port || count <= 0)
        return false;
    s.lastRequest = Clock::now();
    ssize_t written;
    do
        written = ::write(s.descriptor, bytes, static_cast<size_t>(count));
    while (written < 0 && errno == EINTR);
    if (written < 0 && DeviceGone(errno)) {
        s.Lose();
        return false;
    }
    return written == count;
}

int32_t SerialLine::Read(uint8_t* buffer, uint32_t count) {
    State& s = *state_;
    if (!s.port)
        return 0;
    std::array<uint8_t, ReadChunk> waiting;
    size_t have = 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ReplyWindowMs);
    // Sleep in poll() until enough bytes are waiting or the reply window has passed.
    while (have < count && have < waiting.size()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break;
        pollfd watched{s.descriptor, POLLIN, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(left.count()));
        if (ready == 0)
            break;
        if (ready < 0) {
            if (DeviceGone(errno)) {
                s.Lose();
                break;
            }
            continue;
        }
        if (watched.revents & POLLIN) {
            const ssize_t got = ::read(s.descriptor, waiting.data() + have, waiting.size() - have);
            if (got > 0) {
                have += static_cast<size_t>(got);
                continue;
            }
            // Readable yet nothing to read: the other end has hung up.
            if (got == 0 || DeviceGone(errno)) {
                s.Lose();
                break;
            }
        }
        if (watched.revents & (POLLERR | POLLHUP | POLLNVAL)) {
            s.Lose();
            break;
        }
    }
    s.lastHeard = Clock::now();
    const size_t stored = std::min<size_t>(count, have);
    std::memcpy(buffer, waiting.data(), stored);
    return static_cast<int32_t>(have);
}

void SerialLine::MarkUnsettled() {
    if (state_->port)
        state_->unsettled = true;
}

void SerialLine::MarkUnanswered() {
    State& s = *state_;
    if (!s.port)
        return;
    s.unsettled = true;
    s.lateReplyDue = s.lastRequest + std::chrono::milliseconds(WorstReplyDelayMs);
}

bool SerialLine::Settle() {
    State& s = *state_;
    if (!s.port)
        return false;
    // Bytes the event loop may have taken into Qt's buffer (none while its notifier is off).
    if (s.port->bytesAvailable() > 0) {
        s.port->skip(s.port->bytesAvailable());
        SilenceReadNotifier(*s.port);
        s.unsettled = true;
    }
    int waitingBytes = 0;
    if (::ioctl(s.descriptor, FIONREAD, &waitingBytes) == 0 && waitingBytes > 0) {
        s.unsettled = true;
        s.lastHeard = Clock::now();
    }
    if (!s.unsettled)
        return true;
    // A reply due by lateReplyDue has arrived once the reply window past it is quiet, as a
    // prompt reply arrives within the window past its request.
    const std::chrono::milliseconds window(ReplyWindowMs);
    const Clock::time_point limit =
        std::max(Clock::now(), s.lateReplyDue) + std::chrono::milliseconds(SettleLimitMs);
    for (;;) {
        if (!s.DiscardWaiting())
            return false;
        const Clock::time_point now = Clock::now();
        const Clock::time_point quietAt = std::max(s.lastHeard, s.lateReplyDue) + window;
        if (now >= quietAt)
            break;
        if (now >= limit)
            return false;
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(std::min(quietAt, limit) - now);
        pollfd watched{s.descriptor, POLLIN, 0};
        ::poll(&watched, 1, static_cast<int>(left.count()));
    }
    s.Forget();
    return true;
}

void SerialLine::SetDtr() {
    if (!state_->port)
        return;
    // A pseudo-terminal has no modem lines and refuses the request; that is harmless.
    state_->port->setDataTerminalReady(true);
    state_->port->clearError();
}

void SerialLine::ClearRts() {
    if (!state_->port)
        return;
    state_->port->setRequestToSend(false);
    state_->port->clearError();
}
