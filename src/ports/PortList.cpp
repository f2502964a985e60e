#include "PortList.h"

#include "PortUsers.h"

#include <QFile>
#include <QSerialPortInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool PortFacts::operator==(const PortFacts& other) const {
    return device == other.device && description == other.description &&
           manufacturer == other.manufacturer && serialNumber == other.serialNumber &&
           vendorId == other.vendorId && productId == other.productId && use == other.use &&
           holder == other.holder && holderPid == other.holderPid;
}

namespace PortList {

std::vector<PortFacts> SystemPorts() {
    std::vector<PortFacts> ports;
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
        ports.push_back(facts);
    }
    FindUse(ports);
    return ports;
}

PortUse UseAfterOpen(int errorNumber) {
    switch (errorNumber) {
    case 0:
        return PortUse::Free;
    case EACCES:
    case EPERM:
        return PortUse::NoAccess;
    case ENOENT:
    case ENXIO:
    case ENODEV:
    case ENOTDIR:
        return PortUse::Missing;
    default: // EBUSY of a port held exclusively, and whatever else keeps it from opening
        return PortUse::Busy;
    }
}

namespace {

// Opens the device as the connection would, without waiting for a modem line and without
// making it the controlling terminal, and closes it again.
int OpenError(const QString& device) {
    const int fd =
        ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}

} // namespace

void FindUse(std::vector<PortFacts>& ports) {
    QStringList devices;
    for (const PortFacts& facts : ports)
        devices << facts.device;
    const PortUsers::Holders holders = PortUsers::Find(devices);
    for (PortFacts& facts : ports) {
        facts.holder.clear();
        facts.holderPid = 0;
        if (const auto other = holders.others.constFind(facts.device);
            other != holders.others.constEnd()) {
            facts.use = PortUse::Busy;
            facts.holder = other->program;
            facts.holderPid = other->pid;
        } else if (holders.ours.contains(facts.device)) {
            facts.use = PortUse::Ours;
        } else {
            facts.use = UseAfterOpen(OpenError(facts.device));
        }
    }
}

QString UsbIds(const PortFacts& facts) {
    if (!facts.vendorId || !facts.productId)
        return {};
    const auto hex = [](quint16 id) {
        return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
    };
    return hex(*facts.vendorId) + QLatin1Char(':') + hex(*facts.productId);
}

QString UseText(const PortFacts& facts) {
    switch (facts.use) {
    case PortUse::Free:
        return QStringLiteral("свободен");
    case PortUse::NoAccess:
        return QStringLiteral("нет прав");
    case PortUse::Busy:
        return facts.holder.isEmpty() ? QStringLiteral("занят другой программой")
                                      : QStringLiteral("занят: ") +
                                            PortUsers::Holder{facts.holder, facts.holderPid}.Text();
    case PortUse::Ours:
        return QStringLiteral("занят этой программой");
    case PortUse::Missing:
        return QStringLiteral("нет устройства");
    }
    return {};
}

} // namespace PortList
