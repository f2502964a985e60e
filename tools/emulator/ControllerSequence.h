#pragma once
// Controllers that come and go on one emulated port, as on a production-line fixture: each
// scripted controller is plugged in, worked on, and pulled out again; a gap of silence
// follows, then the next one arrives. A controller leaves once `linger` has passed with no
// request but probes: reads of the identity word or of the sequence digits (its arrival counts
// as a request); a "pulled" one
// leaves mid-way with a hang-up of the line. An operator who pulls a controller once its
// station shows it done calls `pull`. After the last one the port stays silent.
//
// All public members may be called from any thread while it serves.

#include "Q5Emulator.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace q5emu {

enum class UnitKind {
    Numbered,        // holds a serial number of its own
    Unnumbered,      // sequence number "00000"
    OtherIdentity,   // identity word `argument` instead of 503
    SilentMidWrite,  // answers `argument` parameter writes, then nothing at all
    CutMidNumbering, // un-numbered, and silent as SilentMidWrite
    NoStore,         // acknowledges writes of parameter `argument` but keeps the old word
    Pulled,          // the line hangs up at its `argument`-th parameter write
    Again,           // the one before, plugged in again with the words it was left with
};

struct ScriptedUnit {
    UnitKind kind = UnitKind::Numbered;
    uint16_t argument = 0;
};

// "numbered,new,identity=502,silent=20,cut=7,nostore=93,pulled=30,again"; nullopt when
// malformed.
std::optional<std::vector<ScriptedUnit>> ParseSequence(std::string_view text);

struct SequenceTiming {
    std::chrono::milliseconds linger{1500};
    std::chrono::milliseconds gap{1500};
};

class ControllerSequence : public Q5Emulator {
public:
    // The first controller is plugged in from the start.
    ControllerSequence(EmulatorOptions options, std::vector<ScriptedUnit> units,
                       SequenceTiming timing = {});
    ~ControllerSequence() override;

    // The serial number (Windows-1251, 24 characters) a numbered unit `index` is given.
    static std::string NumberedSerial(size_t index);

    // Units that have arrived, and whether the last one has gone.
    size_t arrived() const;
    bool finished();

    // The controller plugged in now is pulled out; the gap begins.
    void pull();

protected:
    Reply answer(const Frame::Bytes& request) override;

private:
    void advance(Clock::time_point now);
    void plugIn(Clock::time_point now);
    void leave(Clock::time_point now);

    const ControllerState blank_;
    const std::vector<ScriptedUnit> units_;
    const SequenceTiming timing_;
    size_t arrived_ = 0;
    bool present_ = false;
    Clock::time_point lastWork_{};
    Clock::time_point nextArrival_{};
    uint32_t paramWrites_ = 0;
};

} // namespace q5emu
