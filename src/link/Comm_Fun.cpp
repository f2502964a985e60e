#include "Comm_Fun.h"

#include "ControllerLink.h"
#include "PortNames.h"
#include "PortTrouble.h"
#include "WindowLink.h"

namespace Comm_Fun {

namespace {

SerialLine& Line() {
    return WindowLink().Line();
}

} // namespace

bool IsAcceptedBaudRate(int32_t baudRate) {
    return SerialLine::AcceptsBaudRate(baudRate);
}

bool PortOpened() {
    return Line().Opened();
}

bool PortLost() {
    return Line().Lost();
}

bool OpenPort(int16_t portNumber, int32_t baudRate) {
    if (Line().Opened())
        return false;
    const QString device = PortNames::DeviceFor(portNumber);
    if (device.isEmpty()) {
        // A chosen device that went away is skipped, and said so after the scan.
        const QString missing = PortNames::MissingDeviceFor(portNumber);
        if (!missing.isEmpty())
            PortTrouble::Note({portNumber, missing, PortFault::Gone, {}, {}});
        return false;
    }
    SerialLine::Refusal refusal;
    if (Line().Open(device, baudRate, &refusal))
        return true;
    if (refusal.holder) {
        PortTrouble::Note({portNumber, device, PortFault::Busy, {}, refusal.holder->Text()});
        return false;
    }
    const auto error = static_cast<QSerialPort::SerialPortError>(refusal.error);
    if (error != QSerialPort::NoError)
        PortTrouble::Note(
            {portNumber, device, PortTrouble::OpenFault(error, device), refusal.text, {}});
    return false;
}

void ClosePort() {
    Line().Close();
}

bool ReopenLostPort() {
    return Line().ReopenLost();
}

bool WritePort(const uint8_t* bytes, int32_t count) {
    return Line().Write(bytes, count);
}

int32_t ReadPort(uint8_t* buffer, uint32_t count) {
    return Line().Read(buffer, count);
}

void MarkUnsettled() {
    Line().MarkUnsettled();
}

bool SettleLine() {
    return Line().Settle();
}

void SetDtrLine() {
    Line().SetDtr();
}

void ClearRtsLine() {
    Line().ClearRts();
}

} // namespace Comm_Fun
