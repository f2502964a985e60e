#include "PortNames.h"

#include "PortOverride.h"

#include <QFileInfo>
#include <QStringList>

namespace PortNames {

namespace {

QStringList ScannedDevices() {
    QStringList found;
    const auto addExisting = [&found](const QString& prefix, int count) {
        for (int i = 0; i < count && found.size() < PortCount; ++i) {
            const QString path = prefix + QString::number(i);
            if (QFileInfo::exists(path))
                found << path;
        }
    };
    addExisting(QStringLiteral("/dev/ttyUSB"), 10);
    addExisting(QStringLiteral("/dev/ttyACM"), 10);
    addExisting(QStringLiteral("/dev/ttyS"), 4);
    return found;
}

} // namespace

QString DeviceFor(int port) {
    if (port < 1 || port > PortCount)
        return {};
    if (const std::optional<QString> only = PortOverride::Device())
        return port == 1 ? *only : QString();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    const QByteArray mapped = qgetenv("TARVIK_Q5_PORTS");
    const QStringList devices = qEnvironmentVariableIsSet("TARVIK_Q5_PORTS")
                                    ? QString::fromLocal8Bit(mapped).split(QLatin1Char(':'))
                                    : ScannedDevices();
    return port <= devices.size() ? devices.at(port - 1) : QString();
#endif
}

} // namespace PortNames
