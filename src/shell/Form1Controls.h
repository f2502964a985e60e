#pragma once
// The main window's controls that the parameter bindings move.

#include "WindowControls.h"

class TForm1;

WindowControls ControlsOf(TForm1& form);
