#pragma once
// The controller a connection found, as read: the port, its identity word, and the serial
// number and date of manufacture both as the words came (their low bytes, Windows-1251) and
// as text, with whether every read of each succeeded, and the words that the value controls
// could not read. Labels are never read back for data.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

struct ConnectedDevice {
    int port = 0;   // 1..4
    QString device; // the system's device name of that port
    uint16_t identityWord = 0;
    QByteArray serialBytes; // parameter words 1..24, low bytes
    QString serial;         // as shown: up to the first character of code 0
    bool serialRead = false;
    QByteArray dateBytes; // parameter words 25..32, low bytes
    QString date;
    bool dateRead = false;
    // Parameter words whose reads failed, also when asked again; their controls show none.
    std::vector<uint8_t> unreadWords;
    // The name its restore points are kept under: its serial number's, or without one that of
    // its configuration words; empty when it keeps none.
    QString pointsName;
};
