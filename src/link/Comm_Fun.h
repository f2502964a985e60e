#pragma once
// The window's serial port, the device of its link (WindowLink.h, SerialLine.h): opened by
// number (COM1..COM4), fixed frame settings (8 data bits, no parity, two stop bits), DTR
// asserted and RTS negated by the caller. All routines run on the GUI thread and never show
// a message.
//
// A device that hangs up (a pulled USB adapter, a controller's pseudo-terminal that went
// away) is closed here at the first sign of it: every later operation returns at once
// without touching it, and the port is remembered as lost until ReopenLostPort brings the
// same device back, or OpenPort or ClosePort start afresh.

#include "SerialLine.h"

#include <cstdint>

namespace Comm_Fun {

// True while a port is open; false again after ClosePort or after a hang-up.
bool PortOpened();

// True when the port was closed here because the device hung up or failed, not by
// ClosePort, and has not been reopened since.
bool PortLost();

// Opens COM<port> (1..4) at the given baud rate. False for another port number, a device
// that cannot be opened (missing, held by another program) or a baud rate not accepted;
// why a device did not open is noted for the scan's advice (PortTrouble.h). Asks the driver
// for low latency. Forgets a lost port.
bool OpenPort(int16_t port, int32_t baudRate);

// Closes the port, and forgets a lost one.
void ClosePort();

// Opens the lost port's device again with the same settings, DTR set and RTS cleared.
// False when no port is lost or the device is still absent.
bool ReopenLostPort();

// Hands the bytes to the port. False when the port is closed, the count is 0, or the
// bytes could not all be handed to the device at once.
bool WritePort(const uint8_t* bytes, int32_t count);

// Waits until at least `count` bytes are waiting or the reply window has passed, then
// takes everything waiting: at most `count` bytes are stored at the start of `buffer`,
// the surplus is discarded. Returns the number of bytes that were waiting.
int32_t ReadPort(uint8_t* buffer, uint32_t count);

// Marks the line unsettled: an exchange ended without a good reply, so its reply, or the
// rest of it, may still be on its way. Opening or closing the port settles it.
void MarkUnsettled();

// Called before each request. Bytes waiting before a request belong to no exchange of the
// request's: they are discarded and the line counts as unsettled. An unsettled line is waited
// on, discarding whatever arrives, until it has been quiet for one reply window and, after a
// request that heard nothing, for one reply window past its worst reply delay
// (SerialLine::Settle). False when the line did not go quiet within SettleLimitMs of that, or
// the port is gone; the line then stays unsettled.
bool SettleLine();

void SetDtrLine();
void ClearRtsLine();

// True when the baud rate is one of the rates the port accepts.
bool IsAcceptedBaudRate(int32_t baudRate);

// Upper bound of the wait of ReadPort, in milliseconds.
inline constexpr int ReplyWindowMs = SerialLine::ReplyWindowMs;
// Upper bound of the wait of SettleLine on a line that keeps talking.
inline constexpr int SettleLimitMs = SerialLine::SettleLimitMs;

} // namespace Comm_Fun
