#pragma once
// The machine's serial ports as the ports dialog lists them.

#include <QString>

#include <functional>
#include <optional>
#include <vector>

// Free: this user opened it just now. NoAccess: its permissions keep this user out.
enum class PortUse { Free, NoAccess, Busy, Ours, Missing };

struct PortFacts {
    QString device; // the system's device name, /dev/ttyUSB0
    QString description;
    QString manufacturer;
    QString serialNumber;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    PortUse use = PortUse::Free;
    QString holder; // the program that holds a busy port, when it can be found
    qint64 holderPid = 0;

    bool operator==(const PortFacts& other) const;
    bool operator!=(const PortFacts& other) const { return !(*this == other); }
};

using PortLister = std::function<std::vector<PortFacts>()>;

namespace PortList {

// Every serial port the system reports now, with whether a program holds it.
std::vector<PortFacts> SystemPorts();

// Finds each port's use: held by this program or by another (named when it can be seen in
// /proc), else what an open for reading and writing says. A port nobody holds is opened and
// closed again.
void FindUse(std::vector<PortFacts>& ports);

// The use of a port nobody holds, from the error of an open (0: it opened).
PortUse UseAfterOpen(int errorNumber);

// "0403:6001", or an empty string without USB ids.
QString UsbIds(const PortFacts& facts);

// "свободен", "нет прав", "занят этой программой", "занят: minicom (1234)", "нет устройства".
QString UseText(const PortFacts& facts);

} // namespace PortList
