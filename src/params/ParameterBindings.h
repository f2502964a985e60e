#pragma once
// Binds every control of the main window to its controller word: spin edits, polled
// displays, option selectors and the live monitor.

struct WindowControls;

// Registers the controls (see Controls()) and installs every binding on them.
void InstallParameterBindings(const WindowControls& controls);
