#include "PortChoice.h"

#include "ToolData.h"

namespace PortChoice {

namespace {

const QString Group = QStringLiteral("Ports");

QString KeyOf(int port) {
    return QStringLiteral("COM%1").arg(port);
}

} // namespace

PortNames::Choice Load() {
    const auto preferences = ToolData::Preferences();
    preferences->beginGroup(Group);
    if (!preferences->contains(KeyOf(1)))
        return std::nullopt;
    QStringList devices;
    for (int port = 1; port <= PortNames::PortCount; ++port)
        devices << preferences->value(KeyOf(port)).toString();
    return devices;
}

void Save(const QStringList& devices) {
    const auto preferences = ToolData::Preferences();
    preferences->beginGroup(Group);
    for (int port = 1; port <= PortNames::PortCount; ++port)
        preferences->setValue(KeyOf(port), devices.value(port - 1));
}

void Forget() {
    ToolData::Preferences()->remove(Group);
}

void Install() {
    PortNames::SetChoiceSource(&Load);
}

} // namespace PortChoice
