#include "WindowLink.h"

#include "ControllerLink.h"

#include <cstdlib>

namespace {

ControllerLink* link = nullptr;

} // namespace

// Never destroyed: a static object that closes the port as it goes (a test fixture) may run
// after every other static has gone. The device is closed at exit all the same.
ControllerLink& WindowLink() {
    if (!link) {
        link = new ControllerLink;
        std::atexit([] { link->Close(); });
    }
    return *link;
}
