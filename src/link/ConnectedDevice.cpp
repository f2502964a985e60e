#include "ConnectedDevice.h"

QString ConnectedDevice::SerialForFileName() const {
    QString safe;
    for (const QChar c : serial.trimmed())
        safe += (c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u'.') ? c : QChar(u'_');
    return !serialRead || safe.isEmpty() ? QStringLiteral("unknown") : safe;
}
