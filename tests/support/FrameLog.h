#pragma once
// The emulator's frame log as readable triples "command address value", so that a
// QCOMPARE of two lists shows the first differing frame:
//
//     QCOMPARE(FrameTriples(ports.emulator()), QStringList({Triple(2, 47, 0), Triple(2, 33, 0)}));
//
// A frame that arrived with a wrong checksum carries a trailing " !".

#include <Q5Emulator.h>

#include <QString>
#include <QStringList>

#include <cstdint>

QString Triple(uint8_t command, uint8_t address, uint16_t value);
QStringList FrameTriples(const std::vector<q5emu::LoggedFrame>& frames);
QStringList FrameTriples(const q5emu::Q5Emulator& emulator);
// The raw bytes of a frame in lower-case hex, "022f000031".
QString FrameHex(const q5emu::LoggedFrame& frame);
