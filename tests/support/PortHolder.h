#pragma once
// Holds a serial device the way another program would: a QSerialPort open on it. Qt's
// lock file makes every further open of the same device name fail, also for root.

#include <QSerialPort>
#include <QString>

class PortHolder {
public:
    explicit PortHolder(const QString& device);
    bool holds() const { return port_.isOpen(); }

private:
    QSerialPort port_;
};
