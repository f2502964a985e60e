#include "ResidentMemory.h"

#include <fstream>
#include <string>
#include <unistd.h>

std::optional<int64_t> ResidentKilobytes(int64_t pid) {
    std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
    int64_t sizePages = 0;
    int64_t residentPages = 0;
    if (!(statm >> sizePages >> residentPages))
        return std::nullopt;
    return residentPages * (::sysconf(_SC_PAGESIZE) / 1024);
}
