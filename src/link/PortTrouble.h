#pragma once
// Why the ports of the last scan led to no controller: each port that could not be opened,
// or that opened and stayed silent, with the reason. The scan forgets the old notes first;
// the window turns them into advice.

#include "ExchangeObserver.h"

#include <QSerialPort>
#include <QString>

#include <vector>

class ControllerLink;

enum class PortFault {
    Denied,    // no permission to open the device
    Busy,      // another program holds it
    Gone,      // the device does not exist (any more)
    NotSerial, // the path is no serial device (a directory, a plain file)
    Failed,    // another refusal; `detail` has the system's text
    Silent,    // opened, but no valid reply to the identity request
};

struct PortTroubleNote {
    int port = 0;   // 1..4
    QString device; // the system's device name
    PortFault fault = PortFault::Failed;
    QString detail;
    QString holder; // of a busy port, when it can be seen: "python3 (3385)"
};

namespace PortTrouble {

void Forget();

// Notes a port's trouble; a later note on the same port replaces the earlier one.
void Note(const PortTroubleNote& note);

// Notes that the port opened but did not answer.
void NoteSilent(int port);

// Listens to a link's exchanges while it lives: whether the last one heard not a single byte.
class SilenceWatch {
public:
    explicit SilenceWatch(ControllerLink& link);
    bool LastWasSilent() const { return silent_; }

private:
    bool silent_ = false;
    ExchangeObservers::Subscription subscription_;
};

// Every note since Forget, in the order of the ports' first notes.
const std::vector<PortTroubleNote>& Noted();

// Why opening `device` failed, from QSerialPort's error and what the file system says.
PortFault OpenFault(QSerialPort::SerialPortError error, const QString& device);

} // namespace PortTrouble
