#pragma once
// Listeners to the command exchange: every SendCommand publishes its outcome once, after
// the exchange, to everyone registered. Listeners see the record; they cannot change the
// outcome, and an exchange with nobody listening costs nothing more.
//
//     ExchangeObservers::Subscription watch =
//         ExchangeObservers::Add([](const ExchangeRecord& r) { ... });
//     // listens until `watch` goes out of scope or is reset

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
};

struct ExchangeRecord {
    uint8_t command = 0;
    uint8_t address = 0;
    uint16_t sent = 0;         // the value word of the request
    uint16_t reply = 0;        // ReplyValue after the exchange (unchanged when nothing arrived)
    uint8_t replyChecksum = 0; // the reply frame's checksum byte, as a settings file keeps it
    ExchangeOutcome outcome = ExchangeOutcome::PortGone;
    std::chrono::steady_clock::time_point finished; // when the outcome was known
    int attempts = 0;                               // requests sent; 0 when the port was gone
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
    friend Subscription Add(Observer observer);
    explicit Subscription(std::shared_ptr<Entry> entry) : entry_(std::move(entry)) {}

    std::shared_ptr<Entry> entry_;
};

// Registers an observer; it is called on the GUI thread after each exchange and must not
// throw. An observer
// removed while a record is handed out hears nothing more, not even that record; one added
// then hears from the next record on.
[[nodiscard]] Subscription Add(Observer observer);

// True while anyone listens.
bool Listening();

// Hands the record to every observer, in the order they were added.
void Publish(const ExchangeRecord& record);

} // namespace ExchangeObservers
