#include "PseudoTerminal.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <system_error>
#include <utility>

namespace q5emu {

namespace {

[[noreturn]] void ThrowErrno(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

constexpr std::array<std::pair<speed_t, int32_t>, 16> StandardRates{{
    {B110, 110},
    {B300, 300},
    {B600, 600},
    {B1200, 1200},
    {B2400, 2400},
    {B4800, 4800},
    {B9600, 9600},
    {B19200, 19200},
    {B38400, 38400},
    {B57600, 57600},
    {B115200, 115200},
    {B230400, 230400},
    {B460800, 460800},
    {B500000, 500000},
    {B921600, 921600},
    {B1000000, 1000000},
}};

} // namespace

PseudoTerminal::PseudoTerminal() {
    open();
}

void PseudoTerminal::renew() {
    PseudoTerminal fresh;
    if (!link_.empty())
        fresh.linkAt(link_);
    std::swap(master_, fresh.master_);
    std::swap(slavePath_, fresh.slavePath_);
    // `fresh` now holds the old pair; its link points at the new slave, so it stays.
}

void PseudoTerminal::open() {
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        ThrowErrno("openpty");
    master_ = UniqueFd(master);
    // Only the master stays open: a controller behind a cable holds no device of the PC, so
    // the slave counts as free, and it is the PC's to open and close.
    const UniqueFd setUp(slave);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    // A reply that finds the slave's queue full is lost, as on a line nobody reads.
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    termios raw{};
    if (::tcgetattr(slave, &raw) != 0)
        ThrowErrno("tcgetattr");
    ::cfmakeraw(&raw);
    ::cfsetspeed(&raw, B19200);
    if (::tcsetattr(slave, TCSANOW, &raw) != 0)
        ThrowErrno("tcsetattr");

    std::array<char, PATH_MAX> name{};
    if (::ptsname_r(master, name.data(), name.size()) != 0)
        ThrowErrno("ptsname_r");
    slavePath_ = name.data();
}

PseudoTerminal::~PseudoTerminal() {
    removeLink();
}

void PseudoTerminal::linkAt(const std::string& path) {
    removeLink();
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode))
        ::unlink(path.c_str());
    if (::symlink(slavePath_.c_str(), path.c_str()) != 0)
        ThrowErrno("symlink");
    link_ = path;
}

void PseudoTerminal::removeLink() {
    if (link_.empty())
        return;
    // Leave the path alone if someone has pointed it elsewhere meanwhile.
    std::array<char, PATH_MAX> target{};
    const ssize_t length = ::readlink(link_.c_str(), target.data(), target.size() - 1);
    if (length > 0 && std::string(target.data(), static_cast<size_t>(length)) == slavePath_)
        ::unlink(link_.c_str());
    link_.clear();
}

LineSettings PseudoTerminal::lineSettings() const {
    termios current{};
    // On a master the terminal calls reach the slave's settings.
    if (::tcgetattr(master_.get(), &current) != 0)
        return {};
    LineSettings settings;
    const speed_t speed = ::cfgetospeed(&current);
    for (const auto& [code, rate] : StandardRates)
        if (code == speed)
            settings.baudRate = rate;
    switch (current.c_cflag & CSIZE) {
    case CS5:
        settings.dataBits = 5;
        break;
    case CS6:
        settings.dataBits = 6;
        break;
    case CS7:
        settings.dataBits = 7;
        break;
    default:
        settings.dataBits = 8;
        break;
    }
    settings.parity = (current.c_cflag & PARENB) != 0;
    settings.stopBits = (current.c_cflag & CSTOPB) ? 2 : 1;
    return settings;
}

} // namespace q5emu
