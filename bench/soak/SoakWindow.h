#pragma once
// The soak's child process: the whole program's window, shown offscreen, connected through
// "Connect to COM" to whatever TARVIK_Q5_PORTS names, with its pages shown in turn, a recording
// into the file named after the role option and the chart window open on the live values,
// until a line "quit" or the end of its standard input. It tells the harness on standard
// output: "connected", or "not connected" before it presses the button again, "message TEXT" /
// "error TEXT" for every box it shows, and at the end "recorded MS" with the milliseconds the
// recording ran.
//
//     bench_soak --window LOGPATH

inline constexpr char WindowRoleOption[] = "--window";
inline constexpr int PageIntervalMs = 2000;
inline constexpr int ConnectRetryMs = 2000;
// Samples a second of the soak's recording.
inline constexpr int RecordingRate = 5;

int RunSoakWindow(int argc, char** argv);
