#include "ParallelLinks.h"

#include <BenchStats.h>
#include <ControllerLink.h>
#include <LinkThread.h>
#include <Protocol.h>
#include <Q5Emulator.h>

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace {

using BenchStats::Median;
using BenchStats::Ms;
using Clock = std::chrono::steady_clock;

constexpr int Links = 4;
constexpr int ExchangesPerLink = 100;
constexpr int Rounds = 5;
constexpr int MaxRepeats = 10;
constexpr int32_t BaudRate = 19200;

bool Exchange(ControllerLink& link, int i) {
    return i % 2 == 0 ? link.SendCommand(CmdReadParam, static_cast<uint8_t>(33 + i % 67), 0)
                      : link.SendCommand(CmdReadLive, 162, 0);
}

// The longest time the GUI thread's event loop goes without running a queued event: one is
// posted every millisecond while it runs.
class StallProbe {
public:
    StallProbe() {
        pace_.setTimerType(Qt::PreciseTimer);
        pace_.setInterval(1);
        QObject::connect(&pace_, &QTimer::timeout, &context_, [this] {
            QMetaObject::invokeMethod(
                &context_, [this] { Ran(); }, Qt::QueuedConnection);
        });
        last_ = Clock::now();
        pace_.start();
    }
    double WorstMs() {
        Ran();
        return worstMs_;
    }

private:
    void Ran() {
        const Clock::time_point now = Clock::now();
        worstMs_ = std::max(worstMs_, Ms(now - last_));
        last_ = now;
    }

    QObject context_;
    QTimer pace_;
    Clock::time_point last_;
    double worstMs_ = 0;
};

struct Run {
    double wallMs = 0;
    double stallMs = 0;
};

// Every thread runs its exchanges at once, each a job of its own; none when one failed.
std::optional<Run> OnThreads(const std::vector<LinkThread*>& threads) {
    QObject context;
    QEventLoop loop;
    int pending = static_cast<int>(threads.size());
    int failures = 0;
    StallProbe probe;
    const Clock::time_point start = Clock::now();
    for (LinkThread* thread : threads)
        for (int i = 0; i < ExchangesPerLink; ++i)
            thread->Post([&, i](ControllerLink& link) {
                const bool ok = Exchange(link, i);
                if (ok && i + 1 < ExchangesPerLink)
                    return;
                LinkThread::Deliver(&context, [&, ok, i] {
                    failures += !ok;
                    if (i + 1 == ExchangesPerLink && --pending == 0)
                        loop.quit();
                });
            });
    loop.exec();
    const Run run{Ms(Clock::now() - start), probe.WorstMs()};
    return failures == 0 ? std::optional<Run>(run) : std::nullopt;
}

// The links take turns on the GUI thread, one exchange per queued event.
std::optional<Run> InTurns(const std::vector<std::unique_ptr<ControllerLink>>& links) {
    QObject context;
    QEventLoop loop;
    int done = 0;
    int failures = 0;
    const int total = ExchangesPerLink * static_cast<int>(links.size());
    std::function<void()> step = [&] {
        failures += !Exchange(*links[static_cast<size_t>(done) % links.size()], done / Links);
        if (++done == total)
            loop.quit();
        else
            QMetaObject::invokeMethod(&context, step, Qt::QueuedConnection);
    };
    StallProbe probe;
    const Clock::time_point start = Clock::now();
    QMetaObject::invokeMethod(&context, step, Qt::QueuedConnection);
    loop.exec();
    const Run run{Ms(Clock::now() - start), probe.WorstMs()};
    return failures == 0 ? std::optional<Run>(run) : std::nullopt;
}

std::vector<std::unique_ptr<q5emu::Q5Emulator>> StartEmulators() {
    std::vector<std::unique_ptr<q5emu::Q5Emulator>> emulators;
    for (int i = 0; i < Links; ++i) {
        emulators.push_back(std::make_unique<q5emu::Q5Emulator>()); // line timing
        emulators.back()->start();
    }
    return emulators;
}

QString DeviceOf(const q5emu::Q5Emulator& emulator) {
    return QString::fromStdString(emulator.slavePath());
}

} // namespace

ParallelFigures MeasureParallelLinks() {
    const auto threadSide = StartEmulators();
    const auto turnSide = StartEmulators();
    std::vector<std::unique_ptr<LinkThread>> threads;
    std::vector<std::unique_ptr<ControllerLink>> turnLinks;
    for (int i = 0; i < Links; ++i) {
        threads.push_back(std::make_unique<LinkThread>());
        threads.back()->Post([device = DeviceOf(*threadSide[i])](ControllerLink& link) {
            link.Open(device, BaudRate);
        });
        turnLinks.push_back(std::make_unique<ControllerLink>());
        turnLinks.back()->Open(DeviceOf(*turnSide[i]), BaudRate);
    }
    const std::vector<LinkThread*> alone{threads.front().get()};
    std::vector<LinkThread*> all;
    for (const auto& thread : threads)
        all.push_back(thread.get());

    ParallelFigures figures;
    std::vector<double> threadsRatios, turnsRatios, threadsStalls, turnsStalls;
    while (figures.rounds < Rounds && figures.repeatedRounds < MaxRepeats) {
        // Each side goes first in turn, so that none gains from where the round starts.
        std::optional<Run> one, four, turns;
        for (int side = 0; side < 3; ++side) {
            switch ((side + figures.rounds) % 3) {
            case 0:
                one = OnThreads(alone);
                break;
            case 1:
                four = OnThreads(all);
                break;
            default:
                turns = InTurns(turnLinks);
            }
        }
        if (!one || !four || !turns) {
            ++figures.repeatedRounds;
            continue;
        }
        ++figures.rounds;
        threadsRatios.push_back(Links * one->wallMs / four->wallMs);
        turnsRatios.push_back(Links * one->wallMs / turns->wallMs);
        threadsStalls.push_back(four->stallMs);
        turnsStalls.push_back(turns->stallMs);
    }
    if (figures.rounds == 0)
        return figures;
    figures.threadsRatio = Median(threadsRatios);
    figures.turnsRatio = Median(turnsRatios);
    figures.threadsStallMs = Median(threadsStalls);
    figures.threadsWorstStallMs = *std::max_element(threadsStalls.begin(), threadsStalls.end());
    figures.turnsStallMs = Median(turnsStalls);
    return figures;
}
