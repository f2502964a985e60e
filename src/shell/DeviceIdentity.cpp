#include "DeviceIdentity.h"

#include "Connection.h"
#include "ConnectionEvents.h"
#include "ControllerIdentity.h"
#include "ControllerSession.h"
#include "Cp1251.h"
#include "Form1.h"
#include "LineReport.h"
#include "LineSetup.h"
#include "LogNumbering.h"
#include "Messages.h"
#include "ProductionLog.h"
#include "Protocol.h"
#include "ToolData.h"
#include "WindowSession.h"

#include <QLabel>
#include <QUuid>

#include <stdexcept>

namespace {

// The window's link.
bool WindowExchange(uint8_t command, uint8_t address, uint16_t value, uint16_t& reply) {
    const bool valid = SendCommand(command, address, value);
    reply = ReplyValue();
    return valid;
}

// The number from the line's shared store, when this PC's line is set up with one, so that
// the window and the line never give one number twice; from the log alone otherwise.
ControllerIdentity::Numbering NumberController(const QString& logPath,
                                               const ControllerIdentity::Text& serial,
                                               const ControllerIdentity::Text& date) {
    const LineSetup setup = LineSetup::Load(*ToolData::Preferences());
    if (!setup.sharedStore)
        return ControllerIdentity::Number(WindowExchange, logPath, serial, date,
                                          ProductionLog::LockWait, ProductionLog::NewLog::Refuse);
    StationStore store(setup.StoreUse(ToolData::Folder()));
    UnitRecord unit;
    unit.uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const ControllerIdentity::NumberRegister numbers = store.Register(unit);
    try {
        return ControllerIdentity::Number(WindowExchange, logPath, serial, date,
                                          ProductionLog::LockWait, ProductionLog::NewLog::Refuse,
                                          &numbers);
    } catch (const StoreError& e) {
        throw std::runtime_error(
            (e.kind() == StoreError::Kind::Unreachable
                 ? QStringLiteral("Номер не выдан: база линии недоступна, в прибор ничего не "
                                  "записано. %1")
                 : QStringLiteral("Номер не выдан, в прибор ничего не записано. %1"))
                .arg(e.text())
                .toStdString());
    }
}

} // namespace

void ReadDeviceIdentity() {
    using ControllerIdentity::Shown;
    // Told whether or not the numbering after the reads ends by an error.
    const struct TellAtEnd {
        ~TellAtEnd() { emit SessionOf(*Form1).Events().identityRead(); }
    } tellAtEnd;
    const ControllerIdentity::Text serial = ControllerIdentity::ReadSerial(WindowExchange);
    // A text with a failed read in it would show characters the controller never sent.
    if (serial.complete)
        Form1->StaticText1->setText(Shown(serial.bytes));
    const ControllerIdentity::Text date = ControllerIdentity::ReadDate(WindowExchange);
    if (date.complete)
        Form1->StaticText3->setText(Shown(date.bytes));
    ConnectedDevice& device = CurrentDevice();
    device.serialBytes = serial.bytes;
    device.serial = Shown(serial.bytes);
    device.serialRead = serial.complete;
    device.dateBytes = date.bytes;
    device.date = Shown(date.bytes);
    device.dateRead = date.complete;
    // Painted now, without letting other events in: nothing may run between the reads and the
    // numbering that follows.
    Form1->StaticText1->repaint();
    Form1->StaticText3->repaint();

    if (!ControllerIdentity::NeedsNumber(serial, date))
        return;

    const QString logPath = ProductionLog::Path();
    if (!ProductionLog::Exists(logPath)) {
        if (!ConfirmRisk(ProductionLog::NewLogQuestion(logPath))) {
            ShowInformation(ProductionLog::NotBegunText(logPath));
            return;
        }
        ProductionLog::BeginUnderLock(logPath, Cp1251::Decode(date.bytes));
        // Other events ran while the question was open: the controller is read again, and
        // nothing runs between that read and its numbering.
        return ReadDeviceIdentity();
    }
    // Another station numbering from the same log waits for this record, and this one for its.
    const ControllerIdentity::Numbering numbering = NumberController(logPath, serial, date);
    const QString numberedSerial = Cp1251::Decode(numbering.given.serial());
    if (!numbering.numbered) {
        // The window shows no number the controller may not hold, and nothing is filed under
        // a serial number it may not hold; the log keeps the record, so the number stays given.
        device.serialRead = false;
        throw std::runtime_error(
            ControllerIdentity::PartlyNumberedText(numberedSerial).toStdString());
    }
    Form1->StaticText3->setText(Shown(numbering.date.bytes));
    Form1->StaticText1->setText(Shown(numbering.serial.bytes));
    device.serialBytes = numbering.serial.bytes;
    device.serial = Shown(device.serialBytes);
    device.dateBytes = numbering.date.bytes;
    device.date = Shown(numbering.date.bytes);
}

bool WriteSerialNumber(const QString& serial) {
    return ControllerIdentity::WriteSerialNumber(WindowExchange, serial);
}
