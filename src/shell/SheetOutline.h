#pragma once
// Where the window shows each parameter, taken from the window's description: every
// parameter control a person can see, with the path of its page and its group box, in the
// window's order; those of the service pages that the window never shows are marked so.

#include "SettingsSheet.h"

const Sheets::Outline& WindowOutline();
