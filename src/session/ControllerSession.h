#pragma once
// One controller, one session: everything the tool keeps of one connected controller, made
// and used on one thread. The main window has one; a station of the production line makes one
// for each unit it works. Sessions share nothing, so several live in one process, each
// journaled, undone, watched and polled on its own.
//
// The session talks through the link it is handed (the window's WindowLink(), a station's
// LinkThread link): the device stays open from one controller to the next, the session is the
// controller's.

#include "ConnectedDevice.h"
#include "ConnectionEvents.h"
#include "LinkWatch.h"
#include "LivePoller.h"
#include "SafetyNet.h"
#include "WriteOperation.h"

#include <QObject>

class ControllerLink;

class ControllerSession : public QObject {
    Q_OBJECT
public:
    // `link` outlives the session and is used on the session's thread.
    explicit ControllerSession(ControllerLink& link, QObject* parent = nullptr);
    ~ControllerSession() override;

    ControllerLink& Link() { return link_; }

    // What was read of the controller at its connection (the last one's after it ended).
    ConnectedDevice& Identity() { return identity_; }
    const ConnectedDevice& Identity() const { return identity_; }
    // True from a passed identity check until the connection ends or the next attempt.
    bool Connected() const { return connected_; }
    void SetConnected(bool connected) { connected_ = connected; }

    // The operations open on this controller: they name its writes, no other's.
    WriteOperations& Operations() { return operations_; }
    // The journal of its writes and their undo list.
    SafetyNet& Net() { return net_; }
    UndoHistory& History() { return net_.History(); }
    JournalFeed& Journal() { return net_.Feed(); }
    LinkWatch& Watch() { return watch_; }
    LivePoller& Poller() { return poller_; }
    ConnectionEvents& Events() { return events_; }

private:
    ControllerLink& link_;
    ConnectedDevice identity_;
    bool connected_ = false;
    // Made in this order, gone in the other: the watch lets go of held writes, then the safety
    // net of the link's write gate, before anything they use goes.
    ConnectionEvents events_;
    WriteOperations operations_;
    LivePoller poller_;
    SafetyNet net_;
    LinkWatch watch_;
};
