#include <ControllerSequence.h>
#include <ControllerState.h>
#include <EmulatorOptions.h>
#include <FrameLog.h>
#include <IdlingEngine.h>
#include <PortUsers.h>
#include <Q5Emulator.h>
#include <RawPortClient.h>
#include <ScriptedDrive.h>
#include <WordsFile.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <set>
#include <stdexcept>

using namespace q5emu;
using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(std::optional<FaultSpec>)

namespace {

constexpr auto Patience = 2000ms;
// How long to listen before taking silence for silence.
constexpr auto Quiet = 100ms;

Bytes Request(uint8_t command, uint8_t address, uint16_t value = 0) {
    const Frame::Bytes frame = Frame::Build(command, address, value);
    return {frame.begin(), frame.end()};
}

EmulatorOptions Prompt() {
    EmulatorOptions options;
    options.replyDelay = 0us;
    return options;
}

} // namespace

class TestEmulator : public QObject {
    Q_OBJECT

private slots:
    void startsAsANumberedControllerWithIdentity503();
    void configurationWordsStartInsideTheirControlsRanges_data();
    void configurationWordsStartInsideTheirControlsRanges();
    void engineWarmsUpAndSwitchesTrimOn();
    void scriptedDriveFollowsItsPath();
    void trimOfTheDrivesCells_data();
    void trimOfTheDrivesCells();
    void answersReadsAndStoresWrites_data();
    void answersReadsAndStoresWrites();
    void writtenLiveWordStopsMoving();
    void badChecksumGetsNoReplyButIsLogged();
    void partialFrameIsDroppedAfterAPause();
    void faultsHitOnlyTheFramesTheyName();
    void silenceAfterNFramesActsAsUnplugged();
    void holdsOnlyTheMasterAndAnswersEachOpening();
    void parsesFaultSpecs_data();
    void parsesFaultSpecs();
    void rejectsMalformedSequences();
    void parsesWords_data();
    void parsesWords();
    void loadsWordsFileAndIdentityOption();
    void linkFollowsTheEmulatorsLife();
};

void TestEmulator::startsAsANumberedControllerWithIdentity503() {
    Q5Emulator emulator;
    QCOMPARE(emulator.param(IdentityWords::Address), 503);
    QString serialDigits;
    for (uint8_t address = 20; address <= 24; ++address)
        serialDigits += QChar(emulator.param(address));
    QVERIFY2(serialDigits.toInt() > 0, qPrintable(serialDigits));
    QCOMPARE(serialDigits.size(), 5);
    QString date;
    for (uint8_t address = IdentityWords::FirstDateAddress;
         address < IdentityWords::FirstDateAddress + IdentityWords::DateLength; ++address)
        date += QChar(emulator.param(address));
    QVERIFY2(
        QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d$")).match(date).hasMatch(),
        qPrintable(date));
    QVERIFY(emulator.param(0) > 0);
}

void TestEmulator::configurationWordsStartInsideTheirControlsRanges_data() {
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");
    // Word ranges that the window's controls show without leaving their bounds.
    QTest::newRow("start mode") << 34 << 0 << 2;
    QTest::newRow("vapour valve") << 37 << 0 << 1;
    QTest::newRow("throttle sensor") << 38 << 0 << 3;
    QTest::newRow("coils - 1") << 39 << 0 << 1;
    QTest::newRow("switch-over 20..100 C") << 40 << 2930 << 3730;
    QTest::newRow("reference 4.5..6.5 V") << 48 << 4500 << 6500;
    QTest::newRow("oxygen sensor") << 51 << 0 << 1;
    QTest::newRow("cylinders") << 71 << 2 << 8;
    QTest::newRow("gas at idle 100..500 kPa") << 80 << 1000 << 5000;
    QTest::newRow("idle time 0.1..8") << 82 << 100 << 8000;
    QTest::newRow("full-power pressure 50..100 kPa") << 86 << 500 << 1000;
    QTest::newRow("acceleration response") << 88 << 1 << 16373;
    QTest::newRow("speed limit") << 92 << 1000 << 6000;
    QTest::newRow("damping 1..6") << 97 << 1 << 6;
}

void TestEmulator::configurationWordsStartInsideTheirControlsRanges() {
    QFETCH(int, address);
    QFETCH(int, lowest);
    QFETCH(int, highest);
    const int word = Q5Emulator().param(static_cast<uint8_t>(address));
    QVERIFY2(word >= lowest && word <= highest, qPrintable(QString::number(word)));
}

void TestEmulator::engineWarmsUpAndSwitchesTrimOn() {
    const ControllerState state;
    const auto celsius = [&](double seconds) {
        return state.read(Space::Live, live::Temperature, seconds) / 10.0 - 273;
    };
    QVERIFY(qAbs(celsius(0) - 20) < 1);
    QVERIFY(celsius(60) > celsius(0) && celsius(600) > celsius(60));
    QVERIFY(qAbs(celsius(1800) - 90) < 1);
    QCOMPARE(state.read(Space::Live, live::StatusTrim, 0) & 0x02, 0);
    QCOMPARE(state.read(Space::Live, live::StatusTrim, 1800) & 0x02, 0x02);
    QCOMPARE(state.read(Space::Live, live::StatusSetup, 1800) & 0x80, 0);
    // The sensor voltage falls from the cold calibration towards the hot one.
    QVERIFY(state.read(Space::Live, live::TemperatureVoltage, 0) >
            state.read(Space::Live, live::TemperatureVoltage, 1800));
    for (double t = 600; t < 610; t += 0.37) {
        const int rpm = state.read(Space::Live, live::EngineSpeed, t);
        QVERIFY2(rpm > 780 && rpm < 1000, qPrintable(QString::number(rpm)));
        const int oxygen = state.read(Space::Live, live::OxygenVoltage, t);
        QVERIFY(oxygen >= 100 && oxygen <= 900);
    }
}

void TestEmulator::scriptedDriveFollowsItsPath() {
    ControllerState state;
    state.setEngine(drive::DriveWord);
    const auto word = [&](uint8_t address, double t) {
        return state.read(Space::Live, address, t);
    };
    std::set<double> trims;
    std::set<size_t> cells;
    for (double t = 0; t < drive::WarmUpSeconds + drive::SweepSeconds(); t += 0.05) {
        const drive::DriveState path = drive::DriveAt(t);
        QVERIFY(qAbs(word(live::EngineSpeed, t) - path.engineSpeed) <= drive::EngineSpeedNoise);
        QVERIFY(qAbs(word(live::BaseInjectionTime, t) / 1000.0 - path.injectionMs) <=
                drive::InjectionNoiseMs);
        QVERIFY(qAbs(word(live::ManifoldPressure, t) / 10.0 - path.manifoldKpa) <=
                drive::ManifoldNoiseKpa);
        QCOMPARE(word(live::StatusTrim, t) & 0x02, path.trimActive ? 0x02 : 0);
        QCOMPARE(word(live::StatusSetup, t) & 0x80, 0);
        if (path.trimActive) {
            const double percent = (word(live::OxygenTrim, t) - 1024) / 10.0;
            QVERIFY(qAbs(percent - drive::TrimOf(path.engineSpeed, path.injectionMs)) <=
                    drive::TrimNoisePercent);
            trims.insert(drive::TrimOf(path.engineSpeed, path.injectionMs));
        }
        if (path.step >= 0)
            cells.insert(size_t(path.step));
    }
    QCOMPARE(trims, (std::set<double>{-5, 0, 12}));
    QCOMPARE(cells.size(), drive::Sweep().size());
    // Cold at the start, the trim active from 40 °С on, warm past 60 °С within the warm-up.
    QVERIFY(!drive::DriveAt(3).trimActive && drive::DriveAt(4).trimActive);
    QVERIFY(word(live::Temperature, 8) < 3330 && word(live::Temperature, 9) > 3330);
    // The throttle steps ahead of each change of cell, and only then.
    for (int k = 0; k < 5; ++k) {
        const double change = drive::WarmUpSeconds + k * drive::StepSeconds;
        const double lead = drive::ThrottleLeadSeconds;
        QVERIFY(drive::DriveAt(change - lead - 0.01).throttleVolts !=
                drive::DriveAt(change - lead + 0.01).throttleVolts);
        QCOMPARE(drive::DriveAt(change - lead + 0.01).throttleVolts,
                 drive::DriveAt(change + drive::StepSeconds - lead - 0.01).throttleVolts);
        QVERIFY(drive::DriveAt(change - 0.01).step != drive::DriveAt(change + 0.01).step);
    }

    // The emulator plays it from where it is told, on its clock.
    Q5Emulator emulator(Prompt());
    emulator.startDrive(2, 100);
    const double at = emulator.driveSeconds();
    QVERIFY(at >= 100 && at < 101);
    QVERIFY(qAbs(emulator.live(live::EngineSpeed) - drive::DriveAt(at).engineSpeed) <=
            drive::EngineSpeedNoise);
}

void TestEmulator::trimOfTheDrivesCells_data() {
    QTest::addColumn<double>("rpm");
    QTest::addColumn<double>("injectionMs");
    QTest::addColumn<double>("trim");
    QTest::newRow("rich corner") << 3250.0 << 8.5 << 12.0;
    QTest::newRow("at 3000 Об/мин") << 3000.0 << 8.5 << 0.0;
    QTest::newRow("at 8 ms") << 3250.0 << 8.0 << 0.0;
    QTest::newRow("low speed, high load") << 1250.0 << 10.5 << -5.0;
    QTest::newRow("at 1500 Об/мин") << 1500.0 << 2.5 << 0.0;
}

void TestEmulator::trimOfTheDrivesCells() {
    QFETCH(double, rpm);
    QFETCH(double, injectionMs);
    QFETCH(double, trim);
    QCOMPARE(drive::TrimOf(rpm, injectionMs), trim);
}

void TestEmulator::answersReadsAndStoresWrites_data() {
    QTest::addColumn<Bytes>("request");
    QTest::addColumn<Bytes>("reply");
    QTest::addColumn<int>("storedParam"); // -1: nothing to check
    QTest::addColumn<int>("storedLive");
    QTest::newRow("read identity")
        << Request(2, 47) << Bytes{0x02, 0x2F, 0xF7, 0x01, 0x29} << -1 << -1;
    QTest::newRow("write parameter")
        << Request(3, 99, 0xFFFF) << Request(3, 99, 0xFFFF) << 0xFFFF << -1;
    QTest::newRow("write live") << Request(1, 208, 1536) << Request(1, 208, 1536) << -1 << 1536;
    QTest::newRow("unknown command") << Request(7, 1) << Bytes{} << -1 << -1;
}

void TestEmulator::answersReadsAndStoresWrites() {
    QFETCH(Bytes, request);
    QFETCH(Bytes, reply);
    QFETCH(int, storedParam);
    QFETCH(int, storedLive);
    Q5Emulator emulator(Prompt());
    emulator.start();
    RawPortClient client(emulator.slavePath());
    QCOMPARE(client.exchange(request, reply.empty() ? Quiet : Patience), reply);
    if (storedParam >= 0)
        QCOMPARE(emulator.param(request[1]), storedParam);
    if (storedLive >= 0)
        QCOMPARE(emulator.live(request[1]), storedLive);
}

void TestEmulator::writtenLiveWordStopsMoving() {
    Q5Emulator emulator(Prompt());
    emulator.start();
    RawPortClient client(emulator.slavePath());
    QCOMPARE(client.exchange(Request(1, live::EngineSpeed, 2500), Patience).size(), 5u);
    QCOMPARE(client.exchange(Request(0, live::EngineSpeed), Patience),
             Request(0, live::EngineSpeed, 2500));
}

void TestEmulator::badChecksumGetsNoReplyButIsLogged() {
    Q5Emulator emulator(Prompt());
    emulator.start();
    RawPortClient client(emulator.slavePath());
    Bytes corrupt = Request(3, 51, 0);
    corrupt[4] ^= 0x01;
    QVERIFY(client.write(corrupt));
    // The next reply that comes is the one to the following good request.
    QCOMPARE(client.exchange(Request(2, 51), Patience), Request(2, 51, 1));
    QCOMPARE(FrameTriples(emulator), QStringList({Triple(3, 51, 0) + " !", Triple(2, 51, 0)}));
}

void TestEmulator::partialFrameIsDroppedAfterAPause() {
    Q5Emulator emulator(Prompt());
    emulator.start();
    RawPortClient client(emulator.slavePath());
    QVERIFY(client.write({0x02, 0x2F}));
    QTRY_COMPARE(emulator.partialsDropped(), 1u);
    QCOMPARE(client.exchange(Request(2, 47), Patience), Request(2, 47, 503));
    QCOMPARE(FrameTriples(emulator), QStringList{Triple(2, 47, 0)});
}

void TestEmulator::faultsHitOnlyTheFramesTheyName() {
    EmulatorOptions options = Prompt();
    options.fault = *ParseFaultSpec("checksum,every=2,cmd=2,addr=93");
    Q5Emulator emulator(options);
    emulator.start();
    RawPortClient client(emulator.slavePath());
    const Bytes good = Request(2, 93, 1);
    Bytes bad = good;
    ++bad[4];
    QCOMPARE(client.exchange(Request(2, 93), Patience), good);
    QCOMPARE(client.exchange(Request(2, 91), Patience), Request(2, 91, 1));
    QCOMPARE(client.exchange(Request(2, 93), Patience), bad);
    QCOMPARE(client.exchange(Request(2, 93), Patience), good);
    QCOMPARE(client.exchange(Request(2, 93), Patience), bad);

    emulator.setFault(FaultMode::ShortReply);
    QCOMPARE(client.exchange(Request(2, 93), Quiet), Bytes(good.begin(), good.begin() + 3));
    emulator.setFault(FaultMode::LongReply);
    QCOMPARE(client.read(7, Quiet).size(), 0u);
    QVERIFY(client.write(Request(2, 93)));
    QCOMPARE(client.read(7, Patience).size(), 7u);
    QCOMPARE(client.read(1, Quiet).size(), 0u);
}

void TestEmulator::silenceAfterNFramesActsAsUnplugged() {
    EmulatorOptions options = Prompt();
    options.fault = *ParseFaultSpec("silence,after=2");
    Q5Emulator emulator(options);
    emulator.start();
    RawPortClient client(emulator.slavePath());
    QCOMPARE(client.exchange(Request(2, 47), Patience).size(), 5u);
    QCOMPARE(client.exchange(Request(2, 47), Patience).size(), 5u);
    QCOMPARE(client.exchange(Request(3, 52, 77), Quiet).size(), 0u);
    QCOMPARE(emulator.param(52), 30); // a controller that is not there stores nothing
    emulator.setFault({});
    QCOMPARE(client.exchange(Request(2, 52), Patience), Request(2, 52, 30));
}

void TestEmulator::holdsOnlyTheMasterAndAnswersEachOpening() {
    Q5Emulator emulator(Prompt());
    emulator.start();
    const QString device = QString::fromStdString(emulator.slavePath());
    for (int opening = 1; opening <= 3; ++opening) {
        QVERIFY(!PortUsers::Find({device}).ours.contains(device));
        RawPortClient client(emulator.slavePath());
        QCOMPARE(client.exchange(Request(2, 47), Patience), Request(2, 47, 503));
    }
}

void TestEmulator::parsesFaultSpecs_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<FaultSpec>>("expected");
    QTest::newRow("plain") << "late" << std::optional<FaultSpec>(FaultMode::LateReply);
    FaultSpec allKeys(FaultMode::ShortReply);
    allKeys.after = 3;
    allKeys.every = 2;
    allKeys.command = 2;
    allKeys.address = 93;
    QTest::newRow("all keys") << "short,after=3,every=2,cmd=2,addr=93"
                              << std::optional<FaultSpec>(allKeys);
    QTest::newRow("unknown mode") << "loud" << std::optional<FaultSpec>();
    QTest::newRow("every 0") << "long,every=0" << std::optional<FaultSpec>();
    QTest::newRow("address past a byte") << "silence,addr=256" << std::optional<FaultSpec>();
    QTest::newRow("no value") << "checksum,after" << std::optional<FaultSpec>();
    QTest::newRow("unknown key") << "checksum,often=2" << std::optional<FaultSpec>();
}

void TestEmulator::parsesFaultSpecs() {
    QFETCH(QString, text);
    QFETCH(std::optional<FaultSpec>, expected);
    const auto parsed = ParseFaultSpec(text.toStdString());
    QCOMPARE(parsed.has_value(), expected.has_value());
    if (!parsed)
        return;
    QCOMPARE(parsed->mode, expected->mode);
    QCOMPARE(parsed->after, expected->after);
    QCOMPARE(parsed->every, expected->every);
    QCOMPARE(parsed->command, expected->command);
    QCOMPARE(parsed->address, expected->address);
}

void TestEmulator::rejectsMalformedSequences() {
    QCOMPARE(
        ParseSequence("new,numbered,identity=502,silent=1,nostore=93,pulled=2,cut=3,again")->size(),
        8u);
    for (const char* bad : {"", "new,", "old", "nostore=256", "identity=", "pulled=x"})
        QVERIFY2(!ParseSequence(bad), bad);
}

void TestEmulator::parsesWords_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // "P47=503 L162=850", or "error"
    QTest::newRow("both spaces, comments, blanks") << "# start\nP47=503\n\n  l162 = 0x352  # rpm\n"
                                                   << "P47=503 L162=850";
    QTest::newRow("edges") << "P0=0\nP255=65535"
                           << "P0=0 P255=65535";
    QTest::newRow("value too big") << "P1=65536"
                                   << "error";
    QTest::newRow("address too big") << "L256=1"
                                     << "error";
    QTest::newRow("other space") << "X1=1"
                                 << "error";
    QTest::newRow("no value") << "P1="
                              << "error";
    QTest::newRow("negative") << "P1=-1"
                              << "error";
}

void TestEmulator::parsesWords() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QStringList got;
    try {
        for (const WordAssignment& word : ParseWords(text.toStdString()))
            got << QStringLiteral("%1%2=%3")
                       .arg(word.space == Space::Param ? 'P' : 'L')
                       .arg(word.address)
                       .arg(word.value);
    } catch (const std::runtime_error&) {
        got = QStringList{QStringLiteral("error")};
    }
    QCOMPARE(got.join(' '), expected);
}

void TestEmulator::loadsWordsFileAndIdentityOption() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("words.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("P47=502\nP71=6\nL198=3230\n");
    file.close();

    EmulatorOptions options;
    options.wordsFile = path.toStdString();
    {
        Q5Emulator emulator(options);
        QCOMPARE(emulator.param(47), 502);
        QCOMPARE(emulator.param(71), 6);
        QCOMPARE(emulator.live(198), 3230);
    }
    options.identity = 504; // the identity option wins over the file
    QCOMPARE(Q5Emulator(options).param(47), 504);

    options.wordsFile = dir.filePath(QStringLiteral("missing.txt")).toStdString();
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, Q5Emulator{options});
}

void TestEmulator::linkFollowsTheEmulatorsLife() {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("COM1"));
    {
        Q5Emulator emulator;
        emulator.linkAt(link.toStdString());
        QCOMPARE(QFileInfo(link).symLinkTarget(), QString::fromStdString(emulator.slavePath()));
    }
    QVERIFY(!QFileInfo(link).isSymLink());
}

QTEST_GUILESS_MAIN(TestEmulator)
#include "TestEmulator.moc"
