#pragma once
// The rows and columns of the fault matrix: the window's operations that talk to the
// controller, and the controller's faults, with where each fault lands in each operation.

#include <EmulatorOptions.h>

#include <cstdint>
#include <optional>

enum class Operation {
    Connection,   // "Connect to COM" with a numbered controller
    Numbering,    // "Connect to COM" with a controller whose number reads "00000"
    SettingsSave, // "Сохранить в файле" over an existing file, then under a new name
    SettingsLoad, // "Загрузить из файла"
    MonitorTick,  // one tick of the live monitor
    SpinEditWrite, // the user steps the cylinder count up on its shown page
    QueryTick,     // one timer tick of the trim display and of the shown oxygen-sensor display
    RestorePoint,  // "Connect to COM", the fault from the restore point's first own read on
    CompareWrite,  // "Записать отмеченные" with two checked words
    UndoStep,      // "Отменить" after the user stepped the cylinder count up
    Recording,     // a recording that takes samples while the fault is on
};

// The frame after which a fault starts; until it arrives the controller answers normally.
struct FaultTrigger {
    uint8_t command;
    uint8_t address;
};

struct OperationRow {
    Operation operation;
    const char* name;
    bool connectedBefore;                // the window is connected cleanly first
    std::optional<FaultTrigger> trigger; // none: the fault starts with the operation
    uint32_t unpluggedAfter;             // frames answered before an unplugged line goes quiet
};

inline constexpr OperationRow OperationRows[] = {
    {Operation::Connection, "connection", false, FaultTrigger{2, 47}, 20},
    {Operation::Numbering, "identity numbering", false, FaultTrigger{2, 1}, 10},
    {Operation::SettingsSave, "settings save", true, FaultTrigger{2, 33}, 30},
    {Operation::SettingsLoad, "settings load", true, FaultTrigger{3, 33}, 30},
    {Operation::MonitorTick, "monitor tick", true, std::nullopt, 2},
    {Operation::SpinEditWrite, "spin-edit write", true, std::nullopt, 1},
    {Operation::QueryTick, "query tick", true, std::nullopt, 2},
    {Operation::RestorePoint, "restore point at connection", false, FaultTrigger{2, 35}, 5},
    {Operation::CompareWrite, "compare write", true, std::nullopt, 1},
    {Operation::UndoStep, "undo of a step", true, std::nullopt, 1},
    {Operation::Recording, "recording", true, std::nullopt, 5},
};

struct FaultColumn {
    const char* name;
    q5emu::FaultMode mode;
    bool partWay;    // answers the operation's first frames, then the fault
    int stallMs = 0; // a late reply: the controller stalls once for this long
};

inline constexpr FaultColumn FaultColumns[] = {
    {"silence", q5emu::FaultMode::Silence, false},
    {"unplugged part-way", q5emu::FaultMode::Silence, true},
    {"wrong checksum", q5emu::FaultMode::WrongChecksum, false},
    {"short reply", q5emu::FaultMode::ShortReply, false},
    {"long reply", q5emu::FaultMode::LongReply, false},
    {"late reply 60 ms", q5emu::FaultMode::LateReply, false, 60},
    {"late reply 150 ms", q5emu::FaultMode::LateReply, false, 150},
    {"late reply 300 ms", q5emu::FaultMode::LateReply, false, 300},
};

inline q5emu::FaultSpec FaultFor(const OperationRow& row, const FaultColumn& column) {
    q5emu::FaultSpec plan(column.mode);
    plan.after = column.partWay ? row.unpluggedAfter : 0;
    if (column.stallMs > 0) {
        // A recording's own reads come after the window's first ones.
        if (row.operation == Operation::Recording)
            plan.after = row.unpluggedAfter;
        plan.times = 1;
        plan.delay = std::chrono::milliseconds(column.stallMs);
    }
    return plan;
}
