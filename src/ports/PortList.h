#pragma once
// The machine's serial ports as the ports dialog lists them.

#include <QString>

#include <functional>
#include <optional>
#include <vector>

enum class PortUse { Free, Busy, Ours };

struct PortFacts {
    QString device; // the system's device name, /dev/ttyUSB0
    QString description;
    QString manufacturer;
    QString serialNumber;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    PortUse use = PortUse::Free;

    bool operator==(const PortFacts& other) const;
    bool operator!=(const PortFacts& other) const { return !(*this == other); }
};

using PortLister = std::function<std::vector<PortFacts>()>;

namespace PortList {

// Every serial port the system reports now, with whether a program holds it.
std::vector<PortFacts> SystemPorts();

// "0403:6001", or an empty string without USB ids.
QString UsbIds(const PortFacts& facts);

QString UseText(PortUse use);

} // namespace PortList
