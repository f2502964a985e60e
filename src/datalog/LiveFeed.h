#pragma once
// The sampler of one session's live values and its trim while its controller is connected, shared
// by a recording, the live charts and the live map: it samples at the highest rate anyone wants. A
// value the window read since the sample before began (its monitor, its displays) is taken as the
// window read it, failed or not, each reading once; the others are read one value per pass of the
// event loop, so a user's write waits behind one exchange at most, never behind a whole sample.
// While the link is lost a sample is taken without exchanges, every value failed.

#include "LiveSample.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

class ConnectionEvents;
class LivePoller;

class LiveFeed : public QObject {
    Q_OBJECT
public:
    // Reads through `poller` and follows `events` from now on, so it is made before the first
    // connection; both outlive it.
    LiveFeed(LivePoller& poller, ConnectionEvents& events, QObject* parent = nullptr);

    // Keeps a wanted rate while it lives; move-only.
    class Demand {
    public:
        Demand() = default;
        Demand(Demand&&) noexcept = default;
        Demand& operator=(Demand&& other) noexcept;
        ~Demand();
        void reset();
        bool active() const { return rate_ != nullptr; }

    private:
        friend class LiveFeed;
        Demand(LiveFeed* feed, std::shared_ptr<int> rate) : feed_(feed), rate_(std::move(rate)) {}
        QPointer<LiveFeed> feed_;
        std::shared_ptr<int> rate_;
    };

    [[nodiscard]] Demand Want(int rate);

    // Samples a second now; 0 while nobody wants samples or no controller is connected.
    int Rate() const;
    // Periods that came while the sample before was still being read (the line was too slow).
    int Overruns() const { return overruns_; }

    // Asked before each sample: true while the link is lost.
    void SetLinkLost(std::function<bool()> linkLost);

signals:
    void sampled(const LiveSample& sample);

private:
    void Update();
    void SetConnected(bool connected);
    void BeginSample();
    void ReadNext();
    // The value of this sample at the address, from the window's reading when it has one.
    std::optional<uint16_t> TakeOrRead(uint8_t address, bool& exchanged);

    LivePoller& poller_;
    std::vector<std::weak_ptr<int>> demands_;
    std::function<bool()> linkLost_;
    bool connected_ = false;
    std::chrono::steady_clock::time_point connectedAt_;
    // The window's readings since then may go into the sample being read: since the sample
    // before began, or one period back for the first.
    std::chrono::steady_clock::time_point freshSince_;
    std::optional<std::chrono::steady_clock::time_point> lastBegun_;
    std::array<uint64_t, 256> taken_{}; // the number of the last reading taken, by address
    QTimer period_;
    QTimer step_;
    std::optional<LiveSample> pending_;
    TrimReader trim_;     // of the pending sample, read after its values
    bool behind_ = false; // a period came while a sample was being read
    int overruns_ = 0;
};
