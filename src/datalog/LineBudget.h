#pragma once
// What the serial line carries besides the window's own polling: at 19200 baud with two stop
// bits a five-byte frame takes 2.9 ms, an exchange two frames and the controller's reaction.
// A recording may take the part of each second that the window leaves, less a reserve for
// the user's writes and the link watch.

#include <array>
#include <cstdint>

namespace LineBudget {

// The rates a recording offers, samples a second.
inline constexpr std::array<int, 4> Rates{1, 2, 5, 10};
inline constexpr int DefaultRate = 2;

// One frame of 5 bytes at 11 bits a byte, 19200 bits a second.
inline constexpr double FrameMs = 5.0 * 11.0 * 1000.0 / 19200.0;
// The two frames and 1.5 ms for the controller to answer and the port to turn round. Against
// the emulator, which answers after the two frame times, an exchange takes 6.1 ms
// (bench_datalog's exchange_ms); this leaves a real controller room to be slower.
inline constexpr double ExchangeMs = 2 * FrameMs + 1.5;
// The window's polling while connected: the monitor's six exchanges and ExtText4's five and
// ExtText3's one every 400 ms, ExtText2's one every 500 ms, and about two a second for the
// displays of the page on show.
inline constexpr double WindowExchangesPerSecond = (6 + 5 + 1) / 0.4 + 1 / 0.5 + 2;
// The share of each second that the recording and the window may fill together.
inline constexpr double Share = 0.8;

// The live words the window reads itself, and how often: the live feed takes those readings
// instead of asking the line again, so it asks for such a word only as much more often as it
// samples. The monitor's four, ExtText4's injection time and the trim line's three words (the
// setup status, the trim status and the trim), ExtText3's and ExtText2's.
struct WindowRead {
    uint8_t address;
    double perSecond;
};
inline constexpr std::array<WindowRead, 10> WindowReads{{{204, 2.5},
                                                         {202, 2.5},
                                                         {208, 2.5},
                                                         {212, 2.5},
                                                         {178, 2.5},
                                                         {76, 2.5},
                                                         {77, 2.5},
                                                         {186, 2.5},
                                                         {72, 2.5},
                                                         {162, 2.0}}};

// Milliseconds of line time a second that sampling this many values at this rate takes.
double SamplingMsPerSecond(int rate, int values);

// The requested rate when it fits, else the highest of Rates that does (at least 1).
int HighestRateThatFits(int requested, int values);

// Milliseconds of line time a second that the live feed's own exchanges take at this rate:
// every live value and the trim's three words, less the window's readings it takes.
double FeedMsPerSecond(int rate);

// The same as HighestRateThatFits for the live feed of a recording.
int HighestFeedRateThatFits(int requested);

} // namespace LineBudget
