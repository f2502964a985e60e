#pragma once
// Maps the port numbers 1..4 to device names.
// On Linux: TARVIK_Q5_PORTS="dev1:dev2:dev3:dev4" (an empty entry: no device there) wins;
// else the user's remembered choice (an empty entry: no device; a device that no longer
// exists is skipped); else the first four existing devices among /dev/ttyUSB0-9,
// /dev/ttyACM0-9, /dev/ttyS0-3.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace PortNames {

inline constexpr int PortCount = 4;

// Device name for the port number, or an empty string when there is none.
QString DeviceFor(int port);

enum class Source { Variable, Choice, Default };

// Where each of COM1..COM4 leads and what decided it. `devices` holds PortCount entries,
// empty where no device is mapped; `missing` marks a chosen device that does not exist now.
struct Mapping {
    Source source = Source::Default;
    QStringList devices;
    QList<bool> missing;
};

// The remembered choice: PortCount device names (empty: no device), or none when the user
// has not chosen.
using Choice = std::optional<QStringList>;

// The mapping from the variable's value (none when unset), the choice and the devices found
// by the default scan; `exists` tells whether a chosen device is there.
Mapping MapPorts(const std::optional<QString>& variable, const Choice& choice,
                 const QStringList& scanned, const std::function<bool(const QString&)>& exists);

// The mapping now, from the environment, the choice source and the machine's devices.
Mapping Current();

// Where the remembered choice comes from; the tool installs its preferences here. Without a
// source nothing counts as chosen.
void SetChoiceSource(std::function<Choice()> source);

// The devices the default mapping finds on this machine now, at most PortCount.
QStringList ScannedDevices();

// The chosen device of the port when it does not exist now, else an empty string.
QString MissingDeviceFor(int port);

} // namespace PortNames
