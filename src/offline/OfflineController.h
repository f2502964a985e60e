#pragma once
// A stand-in for a controller that is not there, for editing a settings file at the desk: the
// controller model serving on its own thread inside the program, on a private pseudo-terminal. It
// holds the file's block as its parameter words, answers at once, identifies itself as a
// Tarvik-Q5, carries no serial number, date of manufacture or operating count, and every live
// word reads zero: no engine runs behind it. The program opens device() as any serial port.

#include <ControllerLine.h>

#include <array>
#include <cstdint>
#include <string>

class OfflineController {
public:
    static constexpr uint8_t FirstBlockAddress = 33; // the settings block: words 33..99
    static constexpr int BlockSize = 67;
    using Block = std::array<uint16_t, BlockSize>;

    // Opens the pseudo-terminal and starts serving. Throws std::system_error when no
    // pseudo-terminal or thread can be had.
    explicit OfflineController(const Block& block);
    // Stops serving: the thread is joined and the pseudo-terminal closed.
    ~OfflineController();
    OfflineController(const OfflineController&) = delete;
    OfflineController& operator=(const OfflineController&) = delete;

    // The slave device of the pseudo-terminal.
    const std::string& device() const { return controller_.slavePath(); }

    uint16_t param(uint8_t address) const { return controller_.param(address); }
    uint16_t live(uint8_t address) const { return controller_.live(address); }

private:
    q5emu::ControllerLine controller_;
};
