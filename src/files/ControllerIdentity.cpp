#include "ControllerIdentity.h"

#include "Cp1251.h"
#include "DateText.h"
#include "IdentityText.h"
#include "LogNumbering.h"
#include "ProductionLog.h"
#include "Protocol.h"

namespace {

// True when every write had a valid reply.
bool WriteCharacters(const ControllerIdentity::Exchange& exchange, int firstAddress,
                     const QByteArray& bytes) {
    bool all = true;
    for (int i = 0; i < bytes.size(); ++i) {
        uint16_t reply = 0;
        const auto address = static_cast<uint8_t>(firstAddress + i);
        all = exchange(CmdWriteParam, address, static_cast<uint8_t>(bytes[i]), reply) && all;
    }
    return all;
}

// True when every write had a valid reply; stops at the first that had none, so that nothing
// after it completes a number the controller may not hold whole.
bool WriteEach(const ControllerIdentity::Exchange& exchange, int firstAddress,
               const QByteArray& bytes) {
    for (int i = 0; i < bytes.size(); ++i) {
        uint16_t reply = 0;
        const auto address = static_cast<uint8_t>(firstAddress + i);
        if (!exchange(CmdWriteParam, address, static_cast<uint8_t>(bytes[i]), reply))
            return false;
    }
    return true;
}

bool Holds(const ControllerIdentity::Text& read, const QByteArray& expected) {
    return read.complete && read.bytes == expected;
}

bool ReadsBack(const ControllerIdentity::Exchange& exchange, const QByteArray& serial,
               const QByteArray& date, ControllerIdentity::Numbering& numbering) {
    numbering.serial = ControllerIdentity::ReadSerial(exchange);
    numbering.date = ControllerIdentity::ReadDate(exchange);
    return Holds(numbering.serial, serial) && Holds(numbering.date, date);
}

// A record that cannot be marked stays marked as being written, which says as much.
void Record(const QString& logPath, const ProtocolRecord& given, ProductionLog::NumberState state,
            std::chrono::milliseconds wait) {
    try {
        ProductionLog::SetStateUnderLock(logPath, given.serial(), state, wait);
    } catch (const std::exception&) {
    }
}

} // namespace

namespace ControllerIdentity {

Text ReadCharacters(const Exchange& exchange, int firstAddress, int count) {
    Text text;
    bool answering = true;
    for (int i = 0; i < count; ++i) {
        uint16_t reply = 0;
        const auto address = static_cast<uint8_t>(firstAddress + i);
        // Once a character stays unread the text is incomplete: the rest are read for what
        // they tell of the controller, each only once.
        const bool read = answering ? WordRead::Read(exchange, address, reply)
                                    : exchange(CmdReadParam, address, 0, reply);
        if (!read) {
            text.complete = false;
            answering = false;
        }
        text.bytes.append(static_cast<char>(reply & 0xFF));
    }
    return text;
}

Text ReadSerial(const Exchange& exchange) {
    return ReadCharacters(exchange, IdentityText::FirstSerialAddress, IdentityText::SerialLength);
}

Text ReadDate(const Exchange& exchange) {
    return ReadCharacters(exchange, IdentityText::FirstDateAddress, IdentityText::DateLength);
}

QString Shown(const QByteArray& bytes) {
    const qsizetype end = bytes.indexOf('\0');
    return Cp1251::Decode(end < 0 ? bytes : bytes.left(end));
}

bool NeedsNumber(const Text& serial, const Text& date) {
    return serial.complete && date.complete &&
           IdentityText::StateOf(Cp1251::Decode(serial.bytes)) !=
               IdentityText::SequenceState::Numbered;
}

ProtocolRecord TakeNumber(const QString& logPath, const Text& serial, const Text& date,
                          std::chrono::milliseconds wait, ProductionLog::NewLog newLog,
                          const NumberRegister* numbers) {
    return ProductionLog::NumberUnderLock(
        logPath, Cp1251::Decode(date.bytes), Shown(serial.bytes), DateText::TodayForDevice(), wait,
        ProductionLog::NumberState::Reserved, newLog,
        numbers ? numbers->take : ProductionLog::SequenceChoice());
}

Numbering Number(const Exchange& exchange, const QString& logPath, const Text& serial,
                 const Text& date, std::chrono::milliseconds wait, ProductionLog::NewLog newLog,
                 const NumberRegister* numbers) {
    Numbering numbering;
    numbering.given = TakeNumber(logPath, serial, date, wait, newLog, numbers);
    const auto settle = [&](bool numbered) {
        if (numbers && numbers->settled)
            numbers->settled(numbering.given.serial(), numbered);
    };
    const QByteArray target = IdentityText::SerialBytes(Cp1251::Decode(numbering.given.serial()));
    const QByteArray day = IdentityText::DateBytes(Cp1251::Decode(numbering.given.date()));
    constexpr int Last = IdentityText::SerialLength - 1;
    QByteArray unfinished = target;
    unfinished[Last] = IdentityText::IncompleteMark;
    try {
        numbering.numbered =
            WriteEach(exchange, IdentityText::FirstSerialAddress + Last, unfinished.mid(Last)) &&
            WriteEach(exchange, IdentityText::FirstSerialAddress, unfinished.left(Last)) &&
            WriteEach(exchange, IdentityText::FirstDateAddress, day) &&
            ReadsBack(exchange, unfinished, day, numbering) &&
            WriteEach(exchange, IdentityText::FirstSerialAddress + Last, target.mid(Last)) &&
            ReadsBack(exchange, target, day, numbering);
    } catch (...) {
        Record(logPath, numbering.given, ProductionLog::NumberState::Cut, wait);
        settle(false);
        throw;
    }
    Record(logPath, numbering.given,
           numbering.numbered ? ProductionLog::NumberState::Numbered
                              : ProductionLog::NumberState::Cut,
           wait);
    settle(numbering.numbered);
    return numbering;
}

bool WriteSerialNumber(const Exchange& exchange, const QString& serial) {
    const QByteArray date = IdentityText::DateBytes(DateText::TodayForDevice());
    const bool serialWritten = WriteCharacters(exchange, IdentityText::FirstSerialAddress,
                                               IdentityText::SerialBytes(serial));
    return WriteCharacters(exchange, IdentityText::FirstDateAddress, date) && serialWritten;
}

QString PartlyNumberedText(const QString& serial) {
    return QStringLiteral("Номер %1 выдан по протоколу, но прибор не подтвердил его: запись "
                          "номера прервана. В протоколе номер отмечен как недописанный и больше "
                          "не выдаётся. Подключите прибор снова: номер, оставшийся недописанным "
                          "(«%2» на конце), заменяется новым.")
        .arg(serial.mid(IdentityText::SequencePosition, IdentityText::SequenceLength),
             QString(QLatin1Char(IdentityText::IncompleteMark)));
}

} // namespace ControllerIdentity
