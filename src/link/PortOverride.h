#pragma once
// A scan that may find one device only: while an override is set, COM1 is that device and
// COM2..COM4 have none, whatever the ports' mapping says. The offline session points the
// ordinary connection at its stand-in controller this way, so that nothing it does can reach
// a controller on a real port.

#include <QString>

#include <optional>

namespace PortOverride {

void Set(const QString& device);
void Clear();

// The overriding device, or nullopt when the ports' mapping applies.
std::optional<QString> Device();

} // namespace PortOverride
