#include "TrimReading.h"

#include "Addresses.h"
#include "Protocol.h"

std::optional<uint8_t> TrimReader::Next() const {
    switch (step_) {
    case Step::SetupStatus:
        return Live::SetupStatus;
    case Step::TrimStatus:
        return Live::TrimStatus;
    case Step::Trim:
        return reading_.source == TrimSource::Sensor ? Live::OxygenTrim : Live::ManualTrim;
    case Step::Done:
    case Step::Failed:
        break;
    }
    return std::nullopt;
}

void TrimReader::Take(std::optional<uint16_t> word) {
    if (!word) {
        step_ = Step::Failed;
        return;
    }
    switch (step_) {
    case Step::SetupStatus:
        // Bit 7 of the low byte: the controller is in setup mode.
        reading_.source = (*word & 0xFF) > 127 ? TrimSource::Setup : TrimSource::Sensor;
        step_ = Step::TrimStatus;
        break;
    case Step::TrimStatus:
        if (reading_.source == TrimSource::Setup) {
            step_ = Step::Done;
            break;
        }
        // Bit 1: the oxygen sensor's trim is active.
        reading_.source = (*word & 0x02) != 0 ? TrimSource::Sensor : TrimSource::Manual;
        step_ = Step::Trim;
        break;
    case Step::Trim:
        reading_.percent = CorrectionPercent(*word);
        step_ = Step::Done;
        break;
    case Step::Done:
    case Step::Failed:
        break;
    }
}

std::optional<TrimReading> TrimReader::Result() const {
    if (step_ != Step::Done)
        return std::nullopt;
    return reading_;
}
