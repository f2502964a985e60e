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

void WriteCharacters(int firstAddress, const QByteArray& bytes) {
    for (int i = 0; i < bytes.size(); ++i) {
        const auto address = static_cast<uint8_t>(firstAddress + i);
        SendCommand(CmdWriteParam, address, static_cast<uint8_t>(bytes[i]));
    }
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
    WriteSerialNumber(numberedSerial);
    Form1->StaticText3->setText(Cp1251::Decode(record.date()));
    Form1->StaticText1->setText(numberedSerial);
    device.serialBytes = IdentityText::SerialBytes(numberedSerial);
    device.serial = ShownText(device.serialBytes);
}

void WriteSerialNumber(const QString& serial) {
    const QByteArray date = IdentityText::DateBytes(DateText::TodayForDevice());
    WriteCharacters(IdentityText::FirstSerialAddress, IdentityText::SerialBytes(serial));
    WriteCharacters(IdentityText::FirstDateAddress, date);
}
