#pragma once
// Resident memory of a process, from /proc/PID/statm.

#include <cstdint>
#include <optional>

std::optional<int64_t> ResidentKilobytes(int64_t pid);
