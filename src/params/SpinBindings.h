#pragma once
// Every spin edit of the main window and the controller word it shows and writes.

#include "Scaling.h"

#include <cstdint>
#include <optional>

class TForm1;
class TSpinExtEdit;

struct SpinBinding {
    TSpinExtEdit* TForm1::*control;
    const char* mask; // UTF-8; nullptr where the handlers switch the mask at run time
    long double min;
    long double max;
    long double step;
    std::optional<uint8_t> address; // parameter word; none for the unbound edits
    Decode decode;
    std::optional<Encode> encode;                   // none: the edit never writes
    bool keepsOnFailure;                            // a failed read leaves the shown value
    void (*init)(long double& value) = nullptr;     // own read handler instead of the generic one
    void (*change)(long double newValue) = nullptr; // own write handler instead of the generic one
};

// In the window's creation order is not required here: InitAll follows the window's list.
const SpinBinding* SpinBindingsBegin();
const SpinBinding* SpinBindingsEnd();

// The generic read and write of one row.
void ReadSpinBinding(const SpinBinding& row, long double& value);
void WriteSpinBinding(const SpinBinding& row, long double newValue);

// Assigns mask, bounds, step and the callbacks of every spin edit of the window.
void InstallSpinBindings(TForm1& form);
