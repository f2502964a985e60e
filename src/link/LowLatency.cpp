#include "LowLatency.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace LowLatency {

bool Request(int descriptor) {
#ifdef Q_OS_LINUX
    if (descriptor < 0)
        return false;
    serial_struct serial{};
    if (::ioctl(descriptor, TIOCGSERIAL, &serial) != 0)
        return false;
    if (serial.flags & ASYNC_LOW_LATENCY)
        return true;
    serial.flags |= ASYNC_LOW_LATENCY;
    return ::ioctl(descriptor, TIOCSSERIAL, &serial) == 0;
#else
    Q_UNUSED(descriptor);
    return false;
#endif
}

} // namespace LowLatency
