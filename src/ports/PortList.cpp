#include "PortList.h"

#include "PortUsers.h"

#include <QSerialPortInfo>

bool PortFacts::operator==(const PortFacts& other) const {
    return device == other.device && description == other.description &&
           manufacturer == other.manufacturer && serialNumber == other.serialNumber &&
           vendorId == other.vendorId && productId == other.productId && use == other.use;
}

namespace PortList {

std::vector<PortFacts> SystemPorts() {
    std::vector<PortFacts> ports;
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PortFacts facts;
        facts.device = info.systemLocation();
        facts.description = info.description();
        facts.manufacturer = info.manufacturer();
        facts.serialNumber = info.serialNumber();
        if (info.hasVendorIdentifier())
            facts.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            facts.productId = info.productIdentifier();
        devices << facts.device;
        ports.push_back(facts);
    }
    const PortUsers::Holders holders = PortUsers::Find(devices);
    for (PortFacts& facts : ports) {
        if (holders.others.contains(facts.device))
            facts.use = PortUse::Busy;
        else if (holders.ours.contains(facts.device))
            facts.use = PortUse::Ours;
    }
    return ports;
}

QString UsbIds(const PortFacts& facts) {
    if (!facts.vendorId || !facts.productId)
        return {};
    const auto hex = [](quint16 id) {
        return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
    };
    return hex(*facts.vendorId) + QLatin1Char(':') + hex(*facts.productId);
}

QString UseText(PortUse use) {
    switch (use) {
    case PortUse::Free:
        return QStringLiteral("свободен");
    case PortUse::Busy:
        return QStringLiteral("занят другой программой");
    case PortUse::Ours:
        return QStringLiteral("открыт этой программой");
    }
    return {};
}

} // namespace PortList
