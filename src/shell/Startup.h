#pragma once
// Wires the behaviour of every subsystem to the main window: parameter bindings, option
// selectors and monitor, the connection buttons, the settings-file menu and the identity
// gesture. The program and the end-to-end tests build the same window this way.

class TForm1;

void InstallBehaviour(TForm1& form);
