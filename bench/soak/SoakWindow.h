#pragma once
// The soak's child process: the whole program's window, shown offscreen, connected through
// "Connect to COM" to whatever TARVIK_Q5_PORTS names, with its pages shown in turn, until a
// line "quit" or the end of its standard input. It tells the harness on standard output:
// "connected", or "not connected" before it presses the button again, and "message TEXT" / "error
// TEXT" for every box it shows.

inline constexpr char WindowRoleOption[] = "--window";
inline constexpr int PageIntervalMs = 2000;
inline constexpr int ConnectRetryMs = 2000;

int RunSoakWindow(int argc, char** argv);
