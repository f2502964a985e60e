#pragma once
// A controller link on a thread of its own, for a station that talks to several controllers
// at once: the link is created, used and destroyed on that thread, and the jobs posted to it
// run there one after another, in the order posted, so that each link keeps to one exchange
// at a time while the GUI thread never waits on a reply window. Results reach the GUI thread
// through Deliver, queued to a context object there.
//
//     LinkThread thread;
//     thread.Post([](ControllerLink& link) { link.Open(device, 19200); });
//     thread.Post([&window](ControllerLink& link) {
//         const bool read = link.SendCommand(CmdReadParam, 47, 0);
//         LinkThread::Deliver(&window, [&window, read, word = link.ReplyValue()] { ... });
//     });

#include <QObject>

#include <functional>
#include <memory>

class ControllerLink;
class QThread;

class LinkThread {
public:
    using Job = std::function<void(ControllerLink&)>;

    // Starts the thread and creates its link there.
    LinkThread();
    // Runs the jobs posted so far, destroys the children of Home() and then the link (closing
    // its device) on its thread, and joins the thread.
    ~LinkThread();
    LinkThread(const LinkThread&) = delete;
    LinkThread& operator=(const LinkThread&) = delete;

    // Queues a job for the link's thread; callable from any thread. A job must not throw.
    void Post(Job job);

    // Runs `result` on the thread of `context` from its event loop, unless the context is gone.
    static void Deliver(QObject* context, std::function<void()> result);

    // The object living on the link's thread: a parent for the link's watch and timers, made
    // in a job.
    QObject* Home() const;

private:
    class Worker;
    std::unique_ptr<QThread> thread_;
    Worker* worker_ = nullptr; // lives on thread_, deleted after it has ended
};
