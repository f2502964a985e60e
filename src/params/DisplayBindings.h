#pragma once
// Every polled display of the main window and the live word it shows.

struct WindowControls;

void InstallDisplayBindings(const WindowControls& controls);
