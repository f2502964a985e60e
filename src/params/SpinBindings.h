#pragma once
// Every spin edit of the main window and the controller word it shows and writes; masks,
// bounds, steps and scaling come from the catalogue.

#include "Catalogue.h"

struct WindowControls;

// The generic read of one entry: false, with the value unchanged, when the exchange failed.
bool ReadSpinBinding(const Catalogue::Entry& entry, long double& value);
void WriteSpinBinding(const Catalogue::Entry& entry, long double newValue);

// Assigns mask, bounds, step and the callbacks of every spin edit of the window.
void InstallSpinBindings(const WindowControls& controls);
