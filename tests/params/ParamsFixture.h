#pragma once
// A main window with every parameter binding installed, connected to an emulated controller
// on COM1 through a pseudo-terminal.

#include "EmulatedPorts.h"

#include <memory>

class TForm1;

class ParamsFixture {
public:
    ParamsFixture();
    ~ParamsFixture();
    ParamsFixture(const ParamsFixture&) = delete;
    ParamsFixture& operator=(const ParamsFixture&) = delete;

    q5emu::Q5Emulator& controller() { return ports_.emulator(); }
    TForm1& form() { return *form_; }

private:
    EmulatedPorts ports_;
    std::unique_ptr<TForm1> form_;
};
