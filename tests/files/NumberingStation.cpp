// One numbering station for the shared-log test: numbers COUNT controllers, one after the
// other and as fast as it can, from the production log in LOG_DIR, each controller being
// its own emulator (a fresh identity ending in "00000" before every numbering). For every
// controller it prints the serial number the controller holds afterwards, as hex of its
// Windows-1251 bytes, one per line. With "log-only" the controllers are left out and the
// station numbers from the log back to back, which makes two stations meet at the log often.
//   numbering_station LOG_DIR COUNT NAME [log-only]

#include "Comm_Fun.h"
#include "Cp1251.h"
#include "EmulatedPorts.h"
#include "IdentityText.h"
#include "LogNumbering.h"
#include "ProductionLog.h"
#include "Protocol.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <exception>

namespace {

constexpr int32_t BaudRate = 19200;
const QString ControllerDate = QStringLiteral("01.12.26");
const QString Today = QStringLiteral("08.12.26");

void GiveIdentity(q5emu::Q5Emulator& controller, const QByteArray& serial) {
    const QByteArray date = Cp1251::Encode(ControllerDate);
    for (int i = 0; i < IdentityText::SerialLength; ++i)
        controller.setParam(static_cast<uint8_t>(IdentityText::FirstSerialAddress + i),
                            static_cast<uint8_t>(serial[i]));
    for (int i = 0; i < IdentityText::DateLength; ++i)
        controller.setParam(static_cast<uint8_t>(IdentityText::FirstDateAddress + i),
                            static_cast<uint8_t>(date[i]));
}

// A loaded machine may keep the emulator from answering within the reply window; the
// station asks again, as the numbering is what it shows, not the line.
constexpr int Attempts = 20;

void Exchange(uint8_t command, uint8_t address, uint16_t value) {
    for (int attempt = 0; attempt < Attempts; ++attempt)
        if (SendCommand(command, address, value))
            return;
    throw std::runtime_error("no reply from the emulator");
}

// The characters at the addresses, read over the line.
QByteArray ReadCharacters(int firstAddress, int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        Exchange(CmdReadParam, static_cast<uint8_t>(firstAddress + i), 0);
        text.append(static_cast<char>(ReplyValue() & 0xFF));
    }
    return text;
}

void WriteCharacters(int firstAddress, const QByteArray& bytes) {
    for (int i = 0; i < bytes.size(); ++i)
        Exchange(CmdWriteParam, static_cast<uint8_t>(firstAddress + i),
                 static_cast<uint8_t>(bytes[i]));
}

QByteArray HeldSerial(const q5emu::Q5Emulator& controller) {
    QByteArray serial;
    for (int i = 0; i < IdentityText::SerialLength; ++i)
        serial.append(static_cast<char>(
            controller.param(static_cast<uint8_t>(IdentityText::FirstSerialAddress + i)) & 0xFF));
    return serial;
}

void NumberOne(q5emu::Q5Emulator& controller, const QString& logPath,
               const QByteArray& unnumbered) {
    GiveIdentity(controller, unnumbered);
    const QByteArray serial =
        ReadCharacters(IdentityText::FirstSerialAddress, IdentityText::SerialLength);
    const QByteArray date =
        ReadCharacters(IdentityText::FirstDateAddress, IdentityText::DateLength);
    const ProtocolRecord record = ProductionLog::NumberUnderLock(logPath, Cp1251::Decode(date),
                                                                 Cp1251::Decode(serial), Today);
    WriteCharacters(IdentityText::FirstSerialAddress, record.serial());
    WriteCharacters(IdentityText::FirstDateAddress, IdentityText::DateBytes(Today));
    std::printf("%s\n", HeldSerial(controller).toHex().constData());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: numbering_station LOG_DIR COUNT NAME [log-only]\n");
        return 2;
    }
    const QString logPath =
        QDir(QString::fromLocal8Bit(argv[1])).filePath(QLatin1String(ProductionLog::FileName));
    const int count = QByteArray(argv[2]).toInt();
    const QString name = QString::fromLocal8Bit(argv[3]);
    const bool logOnly = argc == 5 && QByteArray(argv[4]) == "log-only";
    try {
        if (logOnly) {
            for (int i = 0; i < count; ++i) {
                const QString serial = QStringLiteral("%1").arg(name, 19) + QStringLiteral("00000");
                const ProtocolRecord record =
                    ProductionLog::NumberUnderLock(logPath, ControllerDate, serial, Today);
                std::printf("%s\n", record.serial().toHex().constData());
            }
            return 0;
        }
        EmulatedPorts ports;
        if (!Comm_Fun::OpenPort(1, BaudRate))
            throw std::runtime_error("the emulator's port does not open");
        for (int i = 0; i < count; ++i) {
            const QString stem = QStringLiteral("Станция %1 №%2").arg(name).arg(i);
            const QByteArray unnumbered =
                Cp1251::Encode(stem).leftJustified(IdentityText::SequencePosition, ' ', true) +
                IdentityText::UnnumberedSequence;
            NumberOne(ports.emulator(), logPath, unnumbered);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
