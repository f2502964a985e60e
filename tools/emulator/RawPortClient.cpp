#include "RawPortClient.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace q5emu {

RawPortClient::RawPortClient(const std::string& device)
    : fd_(::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
    if (!fd_.valid())
        throw std::system_error(errno, std::generic_category(), "open " + device);
    termios raw{};
    if (::tcgetattr(fd_.get(), &raw) == 0) {
        ::cfmakeraw(&raw);
        ::cfsetspeed(&raw, B19200);
        raw.c_cflag |= CSTOPB | CLOCAL | CREAD;
        ::tcsetattr(fd_.get(), TCSANOW, &raw);
    }
}

bool RawPortClient::write(const std::vector<uint8_t>& bytes) {
    return ::write(fd_.get(), bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

std::vector<uint8_t> RawPortClient::read(size_t count, std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    std::vector<uint8_t> received(count);
    size_t have = 0;
    while (have < count) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break;
        pollfd fd{fd_.get(), POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            continue;
        const ssize_t n = ::read(fd_.get(), received.data() + have, count - have);
        if (n > 0)
            have += static_cast<size_t>(n);
    }
    received.resize(have);
    return received;
}

std::vector<uint8_t> RawPortClient::exchange(const std::vector<uint8_t>& request,
                                             std::chrono::milliseconds timeout) {
    if (!write(request))
        return {};
    return read(request.size(), timeout);
}

} // namespace q5emu
