#include "EmulatorOptions.h"

#include <array>
#include <charconv>
#include <limits>
#include <utility>

namespace q5emu {

namespace {

constexpr std::array<std::pair<FaultMode, std::string_view>, 6> ModeNames{{
    {FaultMode::None, "none"},
    {FaultMode::Silence, "silence"},
    {FaultMode::WrongChecksum, "checksum"},
    {FaultMode::ShortReply, "short"},
    {FaultMode::LongReply, "long"},
    {FaultMode::LateReply, "late"},
}};

constexpr uint16_t MaxLateReplyMs = 60000;

template <typename T> std::optional<T> ParseNumber(std::string_view text) {
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() ||
        value > std::numeric_limits<T>::max())
        return std::nullopt;
    return static_cast<T>(value);
}

} // namespace

std::string_view FaultModeName(FaultMode mode) {
    for (const auto& [candidate, name] : ModeNames)
        if (candidate == mode)
            return name;
    return "?";
}

std::optional<FaultSpec> ParseFaultSpec(std::string_view text) {
    FaultSpec fault;
    const size_t modeEnd = text.find(',');
    const std::string_view modeName = text.substr(0, modeEnd);
    bool known = false;
    for (const auto& [mode, name] : ModeNames)
        if (name == modeName) {
            fault.mode = mode;
            known = true;
        }
    if (!known)
        return std::nullopt;

    std::string_view rest = modeEnd == std::string_view::npos ? "" : text.substr(modeEnd + 1);
    while (!rest.empty()) {
        const size_t end = rest.find(',');
        const std::string_view item = rest.substr(0, end);
        rest = end == std::string_view::npos ? "" : rest.substr(end + 1);
        const size_t eq = item.find('=');
        if (eq == std::string_view::npos)
            return std::nullopt;
        const std::string_view key = item.substr(0, eq);
        const std::string_view value = item.substr(eq + 1);
        if (key == "after") {
            const auto n = ParseNumber<uint32_t>(value);
            if (!n)
                return std::nullopt;
            fault.after = *n;
        } else if (key == "every") {
            const auto n = ParseNumber<uint32_t>(value);
            if (!n || *n == 0)
                return std::nullopt;
            fault.every = *n;
        } else if (key == "times") {
            const auto n = ParseNumber<uint32_t>(value);
            if (!n)
                return std::nullopt;
            fault.times = *n;
        } else if (key == "ms") {
            const auto n = ParseNumber<uint16_t>(value);
            if (!n || *n > MaxLateReplyMs)
                return std::nullopt;
            fault.delay = std::chrono::milliseconds(*n);
        } else if (key == "cmd" || key == "addr") {
            const auto n = ParseNumber<uint8_t>(value);
            if (!n)
                return std::nullopt;
            (key == "cmd" ? fault.command : fault.address) = *n;
        } else {
            return std::nullopt;
        }
    }
    return fault;
}

} // namespace q5emu
