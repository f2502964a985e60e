#include "ConnectionEvents.h"

ConnectionEvents& ConnectionEvents::Instance() {
    static ConnectionEvents events;
    return events;
}
