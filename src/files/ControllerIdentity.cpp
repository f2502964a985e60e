#include "ControllerIdentity.h"

#include "Cp1251.h"
#include "DateText.h"
#include "IdentityText.h"
#include "LogNumbering.h"
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

} // namespace

namespace ControllerIdentity {

Text ReadCharacters(const Exchange& exchange, int firstAddress, int count) {
    Text text;
    for (int i = 0; i < count; ++i) {
        uint16_t reply = 0;
        if (!exchange(CmdReadParam, static_cast<uint8_t>(firstAddress + i), 0, reply))
            text.complete = false;
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
           IdentityText::IsUnnumbered(Cp1251::Decode(serial.bytes));
}

ProtocolRecord TakeNumber(const QString& logPath, const Text& serial, const Text& date,
                          std::chrono::milliseconds wait) {
    return ProductionLog::NumberUnderLock(logPath, Cp1251::Decode(date.bytes), Shown(serial.bytes),
                                          DateText::TodayForDevice(), wait);
}

bool WriteSerialNumber(const Exchange& exchange, const QString& serial) {
    const QByteArray date = IdentityText::DateBytes(DateText::TodayForDevice());
    const bool serialWritten = WriteCharacters(exchange, IdentityText::FirstSerialAddress,
                                               IdentityText::SerialBytes(serial));
    return WriteCharacters(exchange, IdentityText::FirstDateAddress, date) && serialWritten;
}

QString PartlyNumberedText(const QString& serial) {
    return QStringLiteral("Номер %1 записан в протокол, но в прибор записан не полностью: прибор "
                          "хранит его лишь частично. Номер выдан и больше не выдаётся. Запишите "
                          "в прибор серийный номер «%2» вручную (Shift+Ctrl+Alt и правая кнопка "
                          "мыши на серийном номере).")
        .arg(serial.mid(IdentityText::SequencePosition, IdentityText::SequenceLength), serial);
}

} // namespace ControllerIdentity
