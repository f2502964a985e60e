#include "PortNames.h"

#include "PortOverride.h"

#include <QFileInfo>

namespace PortNames {

namespace {

const char* const PortsVariable = "TARVIK_Q5_PORTS";

std::function<Choice()> choiceSource;

std::optional<QString> Variable() {
    if (!qEnvironmentVariableIsSet(PortsVariable))
        return std::nullopt;
    return QString::fromLocal8Bit(qgetenv(PortsVariable));
}

QStringList PortEntries(QStringList devices) {
    while (devices.size() < PortCount)
        devices << QString();
    return devices.mid(0, PortCount);
}

} // namespace

QStringList ScannedDevices() {
    QStringList found;
    const auto addExisting = [&found](const QString& prefix, int count) {
        for (int i = 0; i < count && found.size() < PortCount; ++i) {
            const QString path = prefix + QString::number(i);
            if (QFileInfo::exists(path))
                found << path;
        }
    };
    addExisting(QStringLiteral("/dev/ttyUSB"), 10);
    addExisting(QStringLiteral("/dev/ttyACM"), 10);
    addExisting(QStringLiteral("/dev/ttyS"), 4);
    return found;
}

Mapping MapPorts(const std::optional<QString>& variable, const Choice& choice,
                 const QStringList& scanned, const std::function<bool(const QString&)>& exists) {
    Mapping mapping;
    mapping.missing = QList<bool>(PortCount, false);
    if (variable) {
        mapping.source = Source::Variable;
        mapping.devices = PortEntries(variable->split(QLatin1Char(':')));
    } else if (choice) {
        mapping.source = Source::Choice;
        mapping.devices = PortEntries(*choice);
        for (int i = 0; i < PortCount; ++i)
            mapping.missing[i] = !mapping.devices[i].isEmpty() && !exists(mapping.devices[i]);
    } else {
        mapping.source = Source::Default;
        mapping.devices = PortEntries(scanned);
    }
    return mapping;
}

Mapping Current() {
    const std::optional<QString> variable = Variable();
    const Choice choice = !variable && choiceSource ? choiceSource() : Choice();
    const bool scan = !variable && !choice;
    return MapPorts(variable, choice, scan ? ScannedDevices() : QStringList(),
                    [](const QString& path) { return QFileInfo::exists(path); });
}

void SetChoiceSource(std::function<Choice()> source) {
    choiceSource = std::move(source);
}

QString DeviceFor(int port) {
    if (port < 1 || port > PortCount)
        return {};
    if (const std::optional<QString> only = PortOverride::Device())
        return port == 1 ? *only : QString();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    const Mapping mapping = Current();
    return mapping.missing[port - 1] ? QString() : mapping.devices[port - 1];
#endif
}

QString MissingDeviceFor(int port) {
    if (port < 1 || port > PortCount)
        return {};
    const Mapping mapping = Current();
    return mapping.missing[port - 1] ? mapping.devices[port - 1] : QString();
}

} // namespace PortNames
