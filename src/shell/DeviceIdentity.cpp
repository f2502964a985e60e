#include "DeviceIdentity.h"

#include "Connection.h"
#include "Cp1251.h"
#include "DateText.h"
#include "Form1.h"
#include "IdentityText.h"
#include "LogNumbering.h"
#include "ProductionLog.h"
#include "Protocol.h"

#include <QLabel>

#include <stdexcept>

namespace {

struct ReadText {
    QByteArray bytes;
    bool complete = true; // every read had a valid reply
};

// One character per address: the low byte of each reply word, valid or not.
ReadText ReadCharacters(int firstAddress, int count) {
    ReadText text;
    for (int i = 0; i < count; ++i) {
        const auto address = static_cast<uint8_t>(firstAddress + i);
        if (!SendCommand(CmdReadParam, address, 0))
            text.complete = false;
        text.bytes.append(static_cast<char>(ReplyValue() & 0xFF));
    }
    return text;
}

// True when every write had a valid reply.
bool WriteCharacters(int firstAddress, const QByteArray& bytes) {
    bool all = true;
    for (int i = 0; i < bytes.size(); ++i) {
        const auto address = static_cast<uint8_t>(firstAddress + i);
        all = SendCommand(CmdWriteParam, address, static_cast<uint8_t>(bytes[i])) && all;
    }
    return all;
}

QString PartlyNumberedText(const QString& serial) {
    return QStringLiteral("Номер %1 записан в протокол, но в прибор записан не полностью: прибор "
                          "хранит его лишь частично. Номер выдан и больше не выдаётся. Запишите "
                          "в прибор серийный номер «%2» вручную (Shift+Ctrl+Alt и правая кнопка "
                          "мыши на серийном номере).")
        .arg(serial.mid(IdentityText::SequencePosition, IdentityText::SequenceLength), serial);
}

QString ShownText(const QByteArray& bytes) {
    const qsizetype end = bytes.indexOf('\0');
    return Cp1251::Decode(end < 0 ? bytes : bytes.left(end));
}

} // namespace

void ReadDeviceIdentity() {
    const ReadText serial =
        ReadCharacters(IdentityText::FirstSerialAddress, IdentityText::SerialLength);
    // A text with a failed read in it would show characters the controller never sent.
    if (serial.complete)
        Form1->StaticText1->setText(ShownText(serial.bytes));
    const ReadText date = ReadCharacters(IdentityText::FirstDateAddress, IdentityText::DateLength);
    if (date.complete)
        Form1->StaticText3->setText(ShownText(date.bytes));
    ConnectedDevice& device = CurrentDevice();
    device.serialBytes = serial.bytes;
    device.serial = ShownText(serial.bytes);
    device.serialRead = serial.complete;
    device.dateBytes = date.bytes;
    device.date = ShownText(date.bytes);
    device.dateRead = date.complete;
    // Painted now, without letting other events in: nothing may run between the reads and the
    // numbering that follows.
    Form1->StaticText1->repaint();
    Form1->StaticText3->repaint();

    // Stale reply words can look like "00000": a controller that was not read whole is never
    // numbered.
    if (!serial.complete || !date.complete)
        return;
    if (!IdentityText::IsUnnumbered(Cp1251::Decode(serial.bytes)))
        return;

    // Another station numbering from the same log waits for this record, and this one for its.
    const ProtocolRecord record =
        ProductionLog::NumberUnderLock(ProductionLog::Path(), Cp1251::Decode(date.bytes),
                                       ShownText(serial.bytes), DateText::TodayForDevice());
    const QString numberedSerial = Cp1251::Decode(record.serial());
    if (!WriteSerialNumber(numberedSerial)) {
        // The window shows no number the controller may not hold, and nothing is filed under
        // a serial number it may not hold; the log keeps the record, so the number stays given.
        device.serialRead = false;
        throw std::runtime_error(PartlyNumberedText(numberedSerial).toStdString());
    }
    Form1->StaticText3->setText(Cp1251::Decode(record.date()));
    Form1->StaticText1->setText(numberedSerial);
    device.serialBytes = IdentityText::SerialBytes(numberedSerial);
    device.serial = ShownText(device.serialBytes);
}

bool WriteSerialNumber(const QString& serial) {
    const QByteArray date = IdentityText::DateBytes(DateText::TodayForDevice());
    const bool serialWritten =
        WriteCharacters(IdentityText::FirstSerialAddress, IdentityText::SerialBytes(serial));
    return WriteCharacters(IdentityText::FirstDateAddress, date) && serialWritten;
}
