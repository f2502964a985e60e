#include "Comm_Fun.h"

#include "LowLatency.h"
#include "PortNames.h"
#include "PortTrouble.h"

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
#include <memory>
#include <optional>

namespace Comm_Fun {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t AcceptedBaudRates[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                         19200, 38400, 56000, 57600, 115200, 128000, 256000};

// Enough for every reply and what a noisy line drags behind it in one wait.
constexpr size_t ReadChunk = 256;

struct PortSettings {
    QString device;
    int32_t baudRate = 0;
};

// QSerialPort opens the device (lock file, exclusive use, raw mode) and sets the line;
// the bytes go through its descriptor directly.
std::unique_ptr<QSerialPort> port;
int descriptor = -1;
PortSettings settings;
std::optional<PortSettings> lostPort;
// A reply may still be on its way; see SettleLine.
bool unsettled = false;
// When the line was last heard or last waited on: the quiet of SettleLine counts from here.
Clock::time_point lastHeard{};

// Qt's read notifier would take replies into QSerialPort's buffer whenever the event loop
// runs between exchanges, and would fire without end on a device that hung up. The
// exchanges read the descriptor themselves, so it stays off.
void SilenceReadNotifier(QSerialPort& serial) {
    for (QSocketNotifier* notifier : serial.findChildren<QSocketNotifier*>())
        notifier->setEnabled(false);
}

// QSerialPort's error when a device does not open.
struct Refusal {
    QSerialPort::SerialPortError error = QSerialPort::NoError;
    QString text;
};

std::unique_ptr<QSerialPort> OpenDevice(const PortSettings& wanted, Refusal* refusal = nullptr) {
    auto candidate = std::make_unique<QSerialPort>();
    candidate->setPortName(wanted.device);
    // Open takes an advisory lock and TIOCEXCL, so a port held by another program fails here.
    if (!candidate->open(QIODevice::ReadWrite)) {
        if (refusal)
            *refusal = {candidate->error(), candidate->errorString()};
        return nullptr;
    }
    if (!IsAcceptedBaudRate(wanted.baudRate)) {
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

void Adopt(std::unique_ptr<QSerialPort> opened, const PortSettings& used) {
    port = std::move(opened);
    descriptor = static_cast<int>(port->handle());
    settings = used;
    lostPort.reset();
    unsettled = false;
}

void Release() {
    port->close();
    port.reset();
    descriptor = -1;
    unsettled = false;
}

// The device hung up or failed: close it and remember it for ReopenLostPort.
void LosePort() {
    Release();
    lostPort = settings;
}

// Errors that say the device is gone rather than busy for a moment.
bool DeviceGone(int error) {
    return error != EAGAIN && error != EWOULDBLOCK && error != EINTR;
}

} // namespace

bool IsAcceptedBaudRate(int32_t baudRate) {
    return std::find(std::begin(AcceptedBaudRates), std::end(AcceptedBaudRates), baudRate) !=
           std::end(AcceptedBaudRates);
}

bool PortOpened() {
    return port != nullptr;
}

bool PortLost() {
    return lostPort.has_value();
}

bool OpenPort(int16_t portNumber, int32_t baudRate) {
    if (port)
        return false;
    const PortSettings wanted{PortNames::DeviceFor(portNumber), baudRate};
    if (wanted.device.isEmpty()) {
        // A chosen device that went away is skipped, and said so after the scan.
        const QString missing = PortNames::MissingDeviceFor(portNumber);
        if (!missing.isEmpty())
            PortTrouble::Note({portNumber, missing, PortFault::Gone, {}});
        return false;
    }
    Refusal refusal;
    std::unique_ptr<QSerialPort> opened = OpenDevice(wanted, &refusal);
    if (!opened) {
        if (refusal.error != QSerialPort::NoError)
            PortTrouble::Note({portNumber, wanted.device,
                               PortTrouble::OpenFault(refusal.error, wanted.device), refusal.text});
        return false;
    }
    Adopt(std::move(opened), wanted);
    return true;
}

void ClosePort() {
    lostPort.reset();
    if (port)
        Release();
}

bool ReopenLostPort() {
    if (!lostPort || port)
        return false;
    std::unique_ptr<QSerialPort> opened = OpenDevice(*lostPort);
    if (!opened)
        return false;
    Adopt(std::move(opened), *lostPort);
    SetDtrLine();
    ClearRtsLine();
    return true;
}

bool WritePort(const uint8_t* bytes, int32_t count) {
    if (!port || count <= 0)
        return false;
    ssize_t written;
    do
        written = ::write(descriptor, bytes, static_cast<size_t>(count));
    while (written < 0 && errno == EINTR);
    if (written < 0 && DeviceGone(errno)) {
        LosePort();
        return false;
    }
    return written == count;
}

int32_t ReadPort(uint8_t* buffer, uint32_t count) {
    if (!port)
        return 0;
    std::array<uint8_t, ReadChunk> waiting;
    size_t have = 0;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ReplyWindowMs);
    // Sleep in poll() until enough bytes are waiting or the reply window has passed.
    while (have < count && have < waiting.size()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break;
        pollfd watched{descriptor, POLLIN, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(left.count()));
        if (ready == 0)
            break;
        if (ready < 0) {
            if (DeviceGone(errno)) {
                LosePort();
                break;
            }
            continue;
        }
        if (watched.revents & POLLIN) {
            const ssize_t got = ::read(descriptor, waiting.data() + have, waiting.size() - have);
            if (got > 0) {
                have += static_cast<size_t>(got);
                continue;
            }
            // Readable yet nothing to read: the other end has hung up.
            if (got == 0 || DeviceGone(errno)) {
                LosePort();
                break;
            }
        }
        if (watched.revents & (POLLERR | POLLHUP | POLLNVAL)) {
            LosePort();
            break;
        }
    }
    lastHeard = Clock::now();
    const size_t stored = std::min<size_t>(count, have);
    std::memcpy(buffer, waiting.data(), stored);
    return static_cast<int32_t>(have);
}

void MarkUnsettled() {
    if (port)
        unsettled = true;
}

namespace {

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
            LosePort();
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
        LosePort();
        return false;
    }
}

} // namespace

bool SettleLine() {
    if (!port)
        return false;
    // Bytes the event loop may have taken into Qt's buffer (none while its notifier is off).
    if (port->bytesAvailable() > 0) {
        port->skip(port->bytesAvailable());
        SilenceReadNotifier(*port);
        unsettled = true;
    }
    int waitingBytes = 0;
    if (::ioctl(descriptor, FIONREAD, &waitingBytes) == 0 && waitingBytes > 0) {
        unsettled = true;
        lastHeard = Clock::now();
    }
    if (!unsettled)
        return true;
    const std::chrono::milliseconds window(ReplyWindowMs);
    const Clock::time_point limit = Clock::now() + std::chrono::milliseconds(SettleLimitMs);
    for (;;) {
        if (!DiscardWaiting())
            return false;
        const Clock::time_point now = Clock::now();
        const Clock::time_point quietAt = lastHeard + window;
        if (now >= quietAt)
            break;
        if (now >= limit)
            return false;
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(std::min(quietAt, limit) - now);
        pollfd watched{descriptor, POLLIN, 0};
        ::poll(&watched, 1, static_cast<int>(left.count()));
    }
    unsettled = false;
    return true;
}

void SetDtrLine() {
    if (!port)
        return;
    // A pseudo-terminal has no modem lines and refuses the request; that is harmless.
    port->setDataTerminalReady(true);
    port->clearError();
}

void ClearRtsLine() {
    if (!port)
        return;
    port->setRequestToSend(false);
    port->clearError();
}

} // namespace Comm_Fun
