#pragma once
// When a session's controller becomes the connected one and when it stops being it.
// Capabilities that follow a connection (restore points, journal, recording) listen to the
// events of the session they serve instead of entering the window's handlers.

#include <QObject>

class ConnectionEvents : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // A connection attempt on one port begins; what was read before belongs to no controller.
    void connecting();
    // The connection sequence has ended with a controller connected; the session's identity names
    // it.
    void connected();
    // The controller's serial number and date of manufacture were read, at the connection or
    // after the serial-number dialog wrote them; the session's identity says whether whole.
    void identityRead();
    // "Close COM", another controller found by the link watch, or the next connection attempt.
    void closed();
    // The connected controller stopped answering (false), or answers again and was found to be
    // the same one (true). Nothing may be written while it is lost.
    void linkChanged(bool good);
};
