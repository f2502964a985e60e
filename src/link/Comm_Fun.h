#pragma once
// The program's one serial port: opened by number (COM1..COM4), fixed frame settings
// (8 data bits, no parity, two stop bits), DTR asserted and RTS negated by the caller.
// All routines run on the GUI thread and never show a message.

#include <cstdint>

namespace Comm_Fun {

// True while a port is open.
bool PortOpened();

// Opens COM<port> (1..4) at the given baud rate. False for another port number, a device
// that cannot be opened (missing, held by another program) or a baud rate not accepted.
bool OpenPort(int16_t port, int32_t baudRate);
void ClosePort();

// Hands the bytes to the port. False when the port is closed, the count is 0, or the
// bytes could not all be handed to the device at once.
bool WritePort(const uint8_t* bytes, int32_t count);

// Waits until at least `count` bytes are waiting or the reply window has passed, then
// takes everything waiting: at most `count` bytes are stored at the start of `buffer`,
// the surplus is discarded. Returns the number of bytes that were waiting.
int32_t ReadPort(uint8_t* buffer, uint32_t count);

void SetDtrLine();
void ClearRtsLine();

// True when the baud rate is one of the rates the port accepts.
bool IsAcceptedBaudRate(int32_t baudRate);

// Upper bound of the wait of ReadPort, in milliseconds.
inline constexpr int ReplyWindowMs = 40;

} // namespace Comm_Fun
