#include "Comm_Fun.h"

#include "PortNames.h"

#include <QElapsedTimer>
#include <QSerialPort>

#include <algorithm>
#include <cstring>
#include <memory>

namespace Comm_Fun {

namespace {

constexpr int32_t AcceptedBaudRates[] = {110,   300,   600,   1200,   2400,   4800,   9600,  14400,
                                         19200, 38400, 56000, 57600, 115200, 128000, 256000};

std::unique_ptr<QSerialPort> port;

} // namespace

bool IsAcceptedBaudRate(int32_t baudRate) {
    return std::find(std::begin(AcceptedBaudRates), std::end(AcceptedBaudRates), baudRate) !=
           std::end(AcceptedBaudRates);
}

bool PortOpened() { return port != nullptr; }

bool OpenPort(int16_t portNumber, int32_t baudRate) {
    if (port)
        return false;
    const QString device = PortNames::DeviceFor(portNumber);
    if (device.isEmpty())
        return false;
    auto candidate = std::make_unique<QSerialPort>();
    candidate->setPortName(device);
    // Open takes an advisory lock and TIOCEXCL, so a port held by another program fails here.
    if (!candidate->open(QIODevice::ReadWrite))
        return false;
    if (!IsAcceptedBaudRate(baudRate)) {
        candidate->close();
        return false;
    }
    port = std::move(candidate);
    // A device that refuses a setting still counts as open: the exchanges show the fault.
    port->setBaudRate(baudRate);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::TwoStop);
    port->clearError();
    return true;
}

void ClosePort() {
    if (!port)
        return;
    port->close();
    port.reset();
}

bool WritePort(const uint8_t* bytes, int32_t count) {
    if (!port || count <= 0)
        return false;
    const qint64 queued = port->write(reinterpret_cast<const char*>(bytes), count);
    port->flush();
    return queued == count && port->bytesToWrite() == 0;
}

int32_t ReadPort(uint8_t* buffer, uint32_t count) {
    if (!port)
        return 0;
    QElapsedTimer elapsed;
    elapsed.start();
    // Block in poll() until enough bytes are waiting or the reply window has passed.
    while (static_cast<quint64>(port->bytesAvailable()) < count) {
        const qint64 remaining = ReplyWindowMs - elapsed.elapsed();
        if (remaining <= 0)
            break;
        if (!port->waitForReadyRead(static_cast<int>(remaining)) &&
            port->error() != QSerialPort::TimeoutError && port->error() != QSerialPort::NoError) {
            // A device that has gone away answers poll() at once: stop instead of spinning.
            port->clearError();
            break;
        }
    }
    // Each wakeup of the wait has taken everything the kernel held at that moment.
    port->clearError();
    const QByteArray waiting = port->readAll();
    if (waiting.isEmpty())
        return 0;
    const auto stored = std::min<uint32_t>(count, static_cast<uint32_t>(waiting.size()));
    std::memcpy(buffer, waiting.constData(), stored);
    return static_cast<int32_t>(waiting.size());
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
