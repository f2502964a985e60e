#include "PortOverride.h"

namespace PortOverride {

namespace {
std::optional<QString> overriding;
}

void Set(const QString& device) {
    overriding = device;
}

void Clear() {
    overriding.reset();
}

std::optional<QString> Device() {
    return overriding;
}

} // namespace PortOverride
