#pragma once
// One serial device as the exchange uses it: fixed frame settings (8 data bits, no parity, two
// stop bits), low latency asked for, bytes written and read on its descriptor directly. Every
// instance has a device and state of its own; it is used from the thread that created it.
//
// A device that hangs up (a pulled USB adapter, a controller's pseudo-terminal that went
// away) is closed here at the first sign of it: every later operation returns at once
// without touching it, and the device is remembered as lost until ReopenLost brings it back,
// or Open or Close start afresh.

#include "PortUsers.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class SerialLine {
public:
    // Why a device did not open: QSerialPort's error code (0 when it opened or when only the
    // baud rate was refused) and its text; for a device another program holds, that program.
    struct Refusal {
        int error = 0;
        QString text;
        std::optional<PortUsers::Holder> holder;
    };

    // Upper bound of the wait of Read, in milliseconds.
    static constexpr int ReplyWindowMs = 40;
    // The controller handles one request at a time and may answer this late; requests sent
    // meanwhile are answered after it, in order.
    static constexpr int WorstReplyDelayMs = 300;
    // Upper bound of the wait of Settle on a line that keeps talking.
    static constexpr int SettleLimitMs = 4 * ReplyWindowMs;

    SerialLine();
    ~SerialLine();
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;

    // True when the baud rate is one of the rates the line accepts.
    static bool AcceptsBaudRate(int32_t baudRate);

    // Opens the device unless one is open already. False for a device that cannot be opened
    // (missing, held by another program) or a baud rate not accepted; `refusal` then says why.
    // A device that another process has open is never opened, whether or not that process
    // took it for its own use: two programs on one line garble each other's exchanges.
    // Forgets a lost device.
    bool Open(const QString& device, int32_t baudRate, Refusal* refusal = nullptr);
    // Closes the device, and forgets a lost one.
    void Close();
    // True while a device is open; false again after Close or after a hang-up.
    bool Opened() const;
    // True when the device was closed here because it hung up or failed, not by Close, and
    // has not been reopened since.
    bool Lost() const;
    // Opens the lost device again with the same settings, DTR set and RTS cleared. False
    // when none is lost or it is still absent.
    bool ReopenLost();
    // The open or lost device's name; empty when there is none.
    QString Device() const;

    // Hands the bytes to the device. False when it is closed, the count is 0, or the bytes
    // could not all be handed over at once (a part of them may have gone out).
    bool Write(const uint8_t* bytes, int32_t count);
    // Waits until at least `count` bytes are waiting or the reply window has passed, then
    // takes everything waiting: at most `count` bytes are stored at the start of `buffer`,
    // the surplus is discarded. Returns the number of bytes that were waiting.
    int32_t Read(uint8_t* buffer, uint32_t count);
    // Marks the line unsettled: an exchange ended with a garbled reply, so the rest of it
    // may still be on its way. Opening or closing the device settles it.
    void MarkUnsettled();
    // Marks the line unsettled after a request that heard nothing back, or that did not go
    // out whole: its reply may still come, up to WorstReplyDelayMs after the request.
    void MarkUnanswered();
    // Called before each request. Bytes waiting before a request belong to no exchange of
    // the request's: they are discarded and the line counts as unsettled. An unsettled line
    // is waited on, discarding whatever arrives, until no byte has arrived for one reply
    // window since the last exchange's wait ended and, after an unanswered request, for one
    // reply window past its worst reply delay. False when the line did not go quiet within
    // SettleLimitMs of that, or the device is gone; the line then stays unsettled.
    bool Settle();

    void SetDtr();
    void ClearRts();

    struct State;

private:
    std::unique_ptr<State> state_;
};
