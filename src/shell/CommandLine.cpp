#include "CommandLine.h"

#include <string_view>

#ifndef Q5_VERSION
#error "Q5_VERSION must be defined by the build"
#endif

namespace CommandLine {

Request Parse(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version")
            return Request::ShowVersion;
        if (arg == "--help" || arg == "-h")
            return Request::ShowHelp;
    }
    return Request::RunWindow;
}

std::string VersionText() {
    return std::string("tarvik-q5 ") + Q5_VERSION + "\n";
}

std::string HelpText() {
    return "usage: tarvik-q5 [--version | --help]\n"
           "Service and tuning tool for the Tarvik-Q5 gas injection controller. Without an\n"
           "option it opens its window; the controller is found on COM1 to COM4.\n"
           "\n"
           "  --version          print the version and exit\n"
           "  -h, --help         show this text and exit\n"
           "\n"
           "Environment:\n"
           "  TARVIK_Q5_PORTS    colon-separated device paths for COM1 to COM4, e.g.\n"
           "                     /dev/ttyUSB0::/dev/ttyS0: (default: the first four that\n"
           "                     exist of /dev/ttyUSB0-9, /dev/ttyACM0-9, /dev/ttyS0-3)\n";
}

} // namespace CommandLine
