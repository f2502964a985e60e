#include "ControllerState.h"

#include <utility>

namespace q5emu {

namespace {

// Windows-1251: "Тарвик-Q5 ГБО 2002 " followed by the sequence number 00120.
constexpr std::string_view DefaultSerial = "\xD2\xE0\xF0\xE2\xE8\xEA-Q5 \xC3\xC1\xCE 2002 00120";
constexpr std::string_view DefaultDate = "15.03.02";
static_assert(DefaultSerial.size() == IdentityWords::SerialLength &&
              DefaultDate.size() == IdentityWords::DateLength);

// Configuration words, each inside the range of the control that shows it.
constexpr std::pair<uint8_t, uint16_t> DefaultParams[] = {
    {0, 1234}, // operating counter
    {33, 1},
    {34, 2},    // engine start: automatic
    {37, 0},    // vapour-phase valve normally open
    {38, 0},    // throttle sensor: direct potentiometer
    {39, 1},    // 2 ignition coils
    {40, 3080}, // switch-over at 35 °C
    {42, 102},  // throttling 10 %
    {IdentityWords::Address, IdentityWords::Value},
    {48, 5000}, // reference 5.00 V
    {50, 250},  // maximum regulation 25 %
    {51, 1},    // oxygen sensor present
    {52, 30},   // oxygen sensor warm-up 30 s
    {53, 5},    // polling period 0.10 s
    {54, 5},    // increment 0.5 %
    {55, 0},    // petrol valve normally closed
    {56, 600},  // idle threshold 0.60 V
    {57, 1500}, // idle valve on at 1500 rpm
    {59, 3800}, // temperature sensor 3.8 V cold
    {60, 900},  // 0.9 V hot
    {61, 200},  // acceleration enrichment 20 %
    {63, 10},   // self-learning period 10 s
    {64, 150},  // pick-up enrichment 15 %
    {66, 550},  // hysteresis 0.55 V
    {67, 450},  // 0.45 V
    {69, 4500}, // full power from 4500 rpm
    {71, 4},    // 4 cylinders
    {72, 400},  // manifold sensor: 0.40 V at 20.0 kPa
    {73, 200},
    {74, 4600}, // 4.60 V at 105.0 kPa
    {75, 1050}, //
    {76, 500},  // gas sensor: 0.50 V at 100.0 kPa
    {77, 1000}, //
    {78, 4500}, // 4.50 V at 500.0 kPa
    {79, 5000}, //
    {80, 2000}, // gas at idle 200.0 kPa
    {81, 350},  // vacuum at idle 35.0 kPa
    {82, 1500}, // idle time 1.50
    {86, 900},  // full-power pressure 90.0 kPa
    {87, 1126}, // full-power enrichment 10 %
    {88, 512},  // acceleration response 0.50
    {89, 15},   // zero pressure 1.5 kPa
    {90, 10},   // slope increment 1.0 %
    {91, 1},    // automatic slope correction on
    {92, 5500}, // speed limit 5500 rpm
    {93, 1},    // gas pressure sensor present
    {94, 1800}, // reducer at idle 180.0 kPa
    {95, 2000}, // reducer base 200.0 kPa
    {96, 7324}, // constant for 4 cylinders
    {97, 4},    // damping position 3
};

} // namespace

ControllerState::ControllerState() {
    for (const auto& [address, value] : DefaultParams)
        params_[address] = value;
    writeText(IdentityWords::FirstSerialAddress, DefaultSerial);
    writeText(IdentityWords::FirstDateAddress, DefaultDate);
}

uint16_t ControllerState::read(Space space, uint8_t address, double engineSeconds) const {
    if (space == Space::Param)
        return params_[address];
    if (!liveWritten_[address])
        if (const auto moving = engine_(address, params_, engineSeconds))
            return *moving;
    return live_[address];
}

void ControllerState::write(Space space, uint8_t address, uint16_t value) {
    if (space == Space::Param) {
        params_[address] = value;
        return;
    }
    live_[address] = value;
    liveWritten_.set(address);
}

void ControllerState::writeText(uint8_t first, std::string_view text) {
    for (size_t i = 0; i < text.size() && first + i < params_.size(); ++i)
        params_[first + i] = static_cast<unsigned char>(text[i]);
}

} // namespace q5emu
