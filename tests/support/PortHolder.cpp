#include "PortHolder.h"

PortHolder::PortHolder(const QString& device) {
    port_.setPortName(device);
    port_.open(QIODevice::ReadWrite);
}
