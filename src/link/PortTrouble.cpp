#include "PortTrouble.h"

#include "ControllerLink.h"
#include "PortNames.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace PortTrouble {

namespace {
std::vector<PortTroubleNote> notes;
}

void Forget() {
    notes.clear();
}

void Note(const PortTroubleNote& note) {
    const auto same = std::find_if(notes.begin(), notes.end(), [&note](const PortTroubleNote& n) {
        return n.port == note.port;
    });
    if (same != notes.end())
        *same = note;
    else
        notes.push_back(note);
}

void NoteSilent(int port) {
    Note({port, PortNames::DeviceFor(port), PortFault::Silent, {}, {}});
}

const std::vector<PortTroubleNote>& Noted() {
    return notes;
}

SilenceWatch::SilenceWatch(ControllerLink& link)
    : subscription_(link.Observe([this](const ExchangeRecord& record) {
          silent_ = record.outcome == ExchangeOutcome::NoReply;
      })) {}

PortFault OpenFault(QSerialPort::SerialPortError error, const QString& device) {
    const QByteArray path = QFile::encodeName(device);
    struct stat status {};
    if (error == QSerialPort::DeviceNotFoundError || ::stat(path.constData(), &status) != 0)
        return PortFault::Gone;
    if (!S_ISCHR(status.st_mode))
        return PortFault::NotSerial;
    if (error != QSerialPort::PermissionError)
        return PortFault::Failed;
    // Qt says "permission" both for the device's mode and for a lock or exclusive use by
    // another program; the mode alone tells them apart.
    return ::access(path.constData(), R_OK | W_OK) != 0 ? PortFault::Denied : PortFault::Busy;
}

} // namespace PortTrouble
