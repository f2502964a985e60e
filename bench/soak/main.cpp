// bench_soak [minutes]: the soak harness (2 minutes of faults unless told otherwise).
// bench_soak --window: the window process the harness starts.

#include "SoakRun.h"
#include "SoakWindow.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
constexpr double DefaultMinutes = 2.0;
}

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], WindowRoleOption) == 0)
        return RunSoakWindow(argc, argv);

    double minutes = DefaultMinutes;
    if (argc > 1) {
        char* end = nullptr;
        minutes = std::strtod(argv[1], &end);
        if (end == argv[1] || *end != '\0' || !(minutes > 0)) {
            std::fprintf(stderr, "usage: %s [minutes]\n", argv[0]);
            return 2;
        }
    }
    QCoreApplication application(argc, argv);
    SoakRun soak(std::chrono::milliseconds(static_cast<long long>(minutes * 60000)));
    return soak.run();
}
