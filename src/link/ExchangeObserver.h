#pragma once
// Listeners to the command exchange: every exchange of a link publishes its outcome once,
// after the exchange, to everyone registered with that link. Listeners see the record; they cannot
// change the outcome, and an exchange with nobody listening costs nothing more.
//
//     ExchangeObservers::Subscription watch =
//         link.Observe([](const ExchangeRecord& r) { ... });
//     // listens until `watch` goes out of scope or is reset
//
// Each ControllerLink keeps a List of its own.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

enum class ExchangeOutcome {
    Success,     // five bytes with a correct checksum
    NoReply,     // not a byte within the reply window
    BadChecksum, // five bytes, wrong checksum
    Short,       // one to four bytes
    Long,        // more than five bytes
    PortGone,    // no port to talk to: closed, or closed after a hang-up
    NotSent,     // the device did not take the whole request
    Skipped,     // a read of a run that gave up on a controller no longer answering
};

struct ExchangeRecord {
    uint8_t command = 0;
    uint8_t address = 0;
    uint16_t sent = 0;         // the value word of the request
    uint16_t reply = 0;        // ReplyValue after the exchange (unchanged when nothing arrived)
    uint8_t replyChecksum = 0; // the reply frame's checksum byte, as a settings file keeps it
    ExchangeOutcome outcome = ExchangeOutcome::PortGone;
    std::chrono::steady_clock::time_point finished; // when the outcome was known
    int attempts = 0;                               // requests that went out whole; 0 when none did
};

namespace ExchangeObservers {

using Observer = std::function<void(const ExchangeRecord&)>;

// Keeps one observer registered while it lives; move-only.
class Subscription {
public:
    Subscription() = default;
    Subscription(Subscription&& other) noexcept = default;
    Subscription& operator=(Subscription&& other) noexcept;
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription();

    void reset();
    bool active() const { return entry_ != nullptr; }

    struct Entry;

private:
    friend class List;
    explicit Subscription(std::shared_ptr<Entry> entry) : entry_(std::move(entry)) {}

    std::shared_ptr<Entry> entry_;
};

// The observers of one link. A subscription may outlive its list: it then holds nothing.
// An observer is called on the link's thread after each exchange and must not throw. One
// removed while a record is handed out hears nothing more, not even that record; one added
// then hears from the next record on.
class List {
public:
    List();
    ~List();
    List(const List&) = delete;
    List& operator=(const List&) = delete;

    [[nodiscard]] Subscription Add(Observer observer);
    // True while anyone listens.
    bool Listening() const;
    // Hands the record to every observer, in the order they were added.
    void Publish(const ExchangeRecord& record) const;

    struct Entries;

private:
    std::shared_ptr<Entries> entries_;
};

} // namespace ExchangeObservers
