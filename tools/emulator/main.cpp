// q5-emulator: a Tarvik-Q5 controller on a pseudo-terminal, until SIGINT or SIGTERM.

#include "ControllerSequence.h"
#include "Q5Emulator.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr const char* Usage =
    "usage: q5-emulator [options]\n"
    "Serves a Tarvik-Q5 controller on a pseudo-terminal; prints the device path on the\n"
    "first line and runs until interrupted.\n"
    "\n"
    "  --link PATH        also make PATH a symbolic link to the device (removed on exit)\n"
    "  --delay-us N       reply delay in microseconds (default 5729: two frames at 19200\n"
    "                     baud; 0 replies at once)\n"
    "  --identity W       identity word, parameter 47 (default 503)\n"
    "  --words FILE       initial words, lines like P47=503 or L162=850, # comments\n"
    "  --fault FAULT      MODE[,after=N][,every=N][,times=N][,cmd=C,addr=A][,ms=N],\n"
    "                     MODE one of silence, checksum, short, long, late, none;\n"
    "                     e.g. silence,after=20 (unplugged after 20 frames),\n"
    "                     checksum,every=3,cmd=2,addr=93, late,ms=150,times=1,addr=40\n"
    "                     (stalls once for 150 ms on word 40, then answers the requests\n"
    "                     it received meanwhile in order)\n"
    "  --zero-head        reply bytes 0 and 1 are zeros, as the controller sends them\n"
    "                     (default: they repeat the request's command and address)\n"
    "  --sequence LIST    controllers that come and go, e.g. numbered,new,identity=502,\n"
    "                     silent=20 (no answer after 20 writes), nostore=93 (word 93 not\n"
    "                     stored), pulled=30 (line hangs up at the 30th write: use --link),\n"
    "                     cut=7 (un-numbered, no answer after 7 writes), again (the one\n"
    "                     before, plugged in again)\n"
    "  --linger-ms N      a controller is pulled out after N ms of nothing but probes of\n"
    "                     its identity word and sequence digits (default 1500)\n"
    "  --gap-ms N         silence before the next controller (default 1500)\n"
    "  --drive[=SPEED]    play the scripted drive instead of idling: a warm-up, then\n"
    "                     a sweep of engine speed x load with a known oxygen trim in\n"
    "                     each cell; SPEED times real time (default 1)\n"
    "  --log              print every frame received to stderr\n"
    "  --version          print the version and exit\n"
    "  --help             show this text\n";

std::optional<unsigned long> ParseNumber(const std::string& text, unsigned long max) {
    try {
        size_t used = 0;
        const unsigned long value = std::stoul(text, &used, 0);
        if (used == text.size() && value <= max && text.find('-') == std::string::npos)
            return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

// A speed of the scripted drive, from 0.01 to 1000 times real time.
std::optional<double> ParseSpeed(const std::string& text) {
    try {
        size_t used = 0;
        const double value = std::stod(text, &used);
        if (used == text.size() && value >= 0.01 && value <= 1000)
            return value;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

int Fail(const std::string& message) {
    std::cerr << "q5-emulator: " << message << "\n" << Usage;
    return 2;
}

void PrintFrame(const q5emu::LoggedFrame& frame) {
    std::fprintf(stderr, "rx %02X %02X %02X %02X %02X  cmd %u addr %u value %u%s\n", frame.bytes[0],
                 frame.bytes[1], frame.bytes[2], frame.bytes[3], frame.bytes[4], frame.command,
                 frame.address, frame.value, frame.checksumOk ? "" : "  bad checksum");
}

} // namespace

int main(int argc, char** argv) {
    q5emu::EmulatorOptions options;
    std::string link;
    bool log = false;
    std::optional<std::vector<q5emu::ScriptedUnit>> sequence;
    q5emu::SequenceTiming timing;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            std::cout << Usage;
            return 0;
        } else if (arg == "--version") {
            std::cout << "q5-emulator " << Q5_VERSION << "\n";
            return 0;
        } else if (arg == "--log") {
            log = true;
        } else if (arg == "--drive" || arg.rfind("--drive=", 0) == 0) {
            const std::string speed = arg == "--drive" ? "1" : arg.substr(8);
            const auto value = ParseSpeed(speed);
            if (!value)
                return Fail("bad drive speed: " + speed);
            options.driveSpeed = *value;
        } else if (arg == "--zero-head") {
            options.zeroHead = true;
        } else if (!hasValue) {
            return Fail("unknown option or missing value: " + arg);
        } else if (arg == "--link") {
            link = argv[++i];
        } else if (arg == "--delay-us") {
            const auto us = ParseNumber(argv[++i], 10'000'000);
            if (!us)
                return Fail("bad delay: " + std::string(argv[i]));
            options.replyDelay = std::chrono::microseconds(*us);
        } else if (arg == "--identity") {
            const auto word = ParseNumber(argv[++i], 65535);
            if (!word)
                return Fail("bad identity word: " + std::string(argv[i]));
            options.identity = static_cast<uint16_t>(*word);
        } else if (arg == "--sequence") {
            sequence = q5emu::ParseSequence(argv[++i]);
            if (!sequence)
                return Fail("bad sequence: " + std::string(argv[i]));
        } else if (arg == "--linger-ms" || arg == "--gap-ms") {
            const auto ms = ParseNumber(argv[++i], 3'600'000);
            if (!ms)
                return Fail("bad time: " + std::string(argv[i]));
            (arg == "--gap-ms" ? timing.gap : timing.linger) = std::chrono::milliseconds(*ms);
        } else if (arg == "--words") {
            options.wordsFile = argv[++i];
        } else if (arg == "--fault") {
            const auto fault = q5emu::ParseFaultSpec(argv[++i]);
            if (!fault)
                return Fail("bad fault: " + std::string(argv[i]));
            options.fault = *fault;
        } else {
            return Fail("unknown option: " + arg);
        }
    }

    // Block the stop signals before the serving thread starts, so only sigwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        const std::unique_ptr<q5emu::Q5Emulator> emulator =
            sequence ? std::make_unique<q5emu::ControllerSequence>(options, *sequence, timing)
                     : std::make_unique<q5emu::Q5Emulator>(options);
        if (!link.empty())
            emulator->linkAt(link);
        if (log)
            emulator->setFrameObserver(PrintFrame);
        emulator->start();
        std::cout << emulator->slavePath() << std::endl;
        int signal = 0;
        sigwait(&stopSignals, &signal);
    } catch (const std::exception& e) {
        std::cerr << "q5-emulator: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
