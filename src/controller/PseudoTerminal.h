#pragma once
// A pseudo-terminal pair: the emulator talks on the master side, the program opens the
// slave path as its serial device. Once the slave's line is set up only the master is held
// here, so while the program has the device closed the master reports a hang-up (POLLHUP,
// reads fail with EIO) until the slave is opened again.

#include "UniqueFd.h"

#include <cstdint>
#include <string>

namespace q5emu {

// The line settings the program last gave the device.
struct LineSettings {
    int32_t baudRate = 0; // 0 when not a standard rate
    int dataBits = 0;
    bool parity = false;
    int stopBits = 0;
};

class PseudoTerminal {
public:
    // Throws std::system_error when no pseudo-terminal can be had.
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int master() const { return master_.get(); }
    const std::string& slavePath() const { return slavePath_; }

    // Makes `path` a symbolic link to the slave (replacing an older link there); it is
    // removed again with this object. Throws std::system_error on failure.
    void linkAt(const std::string& path);
    const std::string& link() const { return link_; }

    LineSettings lineSettings() const;

    // The cable pulled and plugged in again: a new pair takes this one's place (and its link),
    // then the old master is closed, so the side that had the old device open sees a hang-up.
    // The slave path changes. Not while another thread uses this terminal.
    void renew();

private:
    void open();
    void removeLink();

    UniqueFd master_;
    std::string slavePath_;
    std::string link_;
};

} // namespace q5emu
