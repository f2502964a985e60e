#pragma once
// Watches one link to a connected controller through its exchange observers, without a
// window. Armed at a successful connection, it counts failed exchanges: three in a row mark
// the link lost, and the link's writes are held from then on. While lost it probes once a
// second (reopening a port that hung up first); the first successful exchange after that, the
// probe's or anyone's, makes it check the controller: every word that tells one controller
// from another and that the connection knew when the link was lost is read again. All equal:
// the same controller, the link is good again and writes go out again. One differs: another
// controller is reported so the connection can be ended. A word that cannot be read leaves
// the link lost, to be checked at the next probe.

#include "ExchangeObserver.h"

class ControllerLink;

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class LinkWatch : public QObject {
    Q_OBJECT

public:
    static constexpr int FailuresForLost = 3;
    static constexpr int ProbeIntervalMs = 1000;
    // A word of the check is asked for up to this many times before the check gives up.
    static constexpr int ReadsPerWord = 3;

    // What the connection knows of a parameter word of its controller, or none.
    using KnownWord = std::function<std::optional<uint16_t>(uint8_t address)>;

    // Watches `link`, which must outlive the watch and live on the watch's thread.
    explicit LinkWatch(ControllerLink& link, QObject* parent = nullptr);
    ~LinkWatch() override;

    // Starts watching the connected controller; the link is good. `addresses` are the
    // parameter words that tell it from another, checked in this order as far as `known`
    // knows them when the link is lost.
    void Arm(std::vector<uint8_t> addresses, KnownWord known);
    // Stops watching and probing; writes go out again.
    void Disarm();
    bool IsArmed() const { return subscription_.active(); }
    // True from the third failed exchange in a row until the controller is back.
    bool IsLost() const { return lost_; }

signals:
    // Both signals come from the event loop, never from inside an exchange.
    // False when the link is lost, true when the same controller answers again.
    void linkStateChanged(bool good);
    // Another controller answers where the armed one was; the watch has disarmed itself.
    void otherController();

private:
    enum class Verdict { Same, Other, Unknown };

    void observe(const ExchangeRecord& record);
    void probe();
    void checkQueued();
    // Reads the remembered words and decides; the link stays lost when a read fails.
    void checkController();
    Verdict compare() const;
    void setLost(bool lost);

    ControllerLink& link_;
    std::vector<uint8_t> addresses_;
    KnownWord known_;
    // The words to find again, as the connection knew them when the link was lost.
    std::vector<std::pair<uint8_t, uint16_t>> expected_;
    ExchangeObservers::Subscription subscription_;
    QTimer probeTimer_;
    int failures_ = 0;
    bool lost_ = false;
    bool checkPending_ = false;
    // Set while the watch exchanges itself: those exchanges do not feed the count.
    bool ownExchanges_ = false;
};
