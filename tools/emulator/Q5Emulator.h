#pragma once
// The controller emulator of the emulator program, the tests and the benchmarks: the
// controller model on a pseudo-terminal (ControllerLine) with fault plans on top. A fault
// (EmulatorOptions.h) silences, garbles or delays the replies to the frames it hits; scripted
// replies stand in for the next replies; raw bytes go on the line unasked.
//
// All members may be called from any thread while the emulator serves.

#include "ControllerLine.h"
#include "EmulatorOptions.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace q5emu {

class Q5Emulator : public ControllerLine {
public:
    // Opens the pseudo-terminal and loads the options' words file; does not serve yet.
    // Throws std::system_error or std::runtime_error.
    explicit Q5Emulator(EmulatorOptions options = {});
    ~Q5Emulator() override;

    void setFault(const FaultSpec& fault); // restarts the fault's frame count
    FaultSpec fault() const;

    // The next request with a correct checksum is answered with exactly these bytes
    // (after the reply delay) instead of its reply; its write, if any, still takes effect.
    // Several calls queue up, one per request.
    void replyNextWith(std::vector<uint8_t> bytes);
    // Puts bytes on the line at once, unasked.
    void sendRaw(std::vector<uint8_t> bytes);

    // Plays the scripted drive from `fromSeconds` of it on, at `speed` times real time.
    void startDrive(double speed = 1.0, double fromSeconds = 0);
    // The drive's time now: the argument of drive::DriveAt for a reading made now.
    double driveSeconds() const;

protected:
    Reply answer(const Frame::Bytes& request) override;

private:
    FaultSpec fault_;
    uint32_t faultMatches_ = 0;
    std::deque<std::vector<uint8_t>> scriptedReplies_;
    double driveSpeed_ = 1.0;
    double driveFrom_ = 0;
};

} // namespace q5emu
