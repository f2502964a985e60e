#include "FrameLog.h"

#include <QByteArray>

QString Triple(uint8_t command, uint8_t address, uint16_t value) {
    return QStringLiteral("%1 %2 %3").arg(command).arg(address).arg(value);
}

QStringList FrameTriples(const std::vector<q5emu::LoggedFrame>& frames) {
    QStringList triples;
    for (const q5emu::LoggedFrame& frame : frames)
        triples << Triple(frame.command, frame.address, frame.value) +
                       (frame.checksumOk ? QString() : QStringLiteral(" !"));
    return triples;
}

QStringList FrameTriples(const q5emu::Q5Emulator& emulator) {
    return FrameTriples(emulator.frameLog());
}

QString FrameHex(const q5emu::LoggedFrame& frame) {
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(frame.bytes.data()), frame.bytes.size()).toHex());
}
