#pragma once
// Binds every control of the main window to its controller word: spin edits, polled
// displays, option selectors and the live monitor.

class TForm1;

void InstallParameterBindings(TForm1& form);
