#include "PortAdvice.h"

#include <QStringList>

#include <algorithm>

namespace PortAdvice {

QString ReasonText(const PortTroubleNote& note) {
    switch (note.fault) {
    case PortFault::Denied:
        return QStringLiteral("нет прав на доступ к порту");
    case PortFault::Busy:
        return note.holder.isEmpty() ? QStringLiteral("порт занят другой программой")
                                     : QStringLiteral("порт занят программой %1").arg(note.holder);
    case PortFault::Gone:
        return QStringLiteral("устройство отсутствует");
    case PortFault::NotSerial:
        return QStringLiteral("это не последовательный порт");
    case PortFault::Failed:
        return note.detail.isEmpty() ? QStringLiteral("порт не открывается")
                                     : QStringLiteral("порт не открывается (%1)").arg(note.detail);
    case PortFault::Silent:
        return QStringLiteral("не отвечает");
    }
    return {};
}

QString Text(const std::vector<PortTroubleNote>& notes) {
    if (notes.empty())
        return {};
    QStringList lines{QStringLiteral("Порты, на которых прибор не найден:")};
    for (const PortTroubleNote& note : notes)
        lines << QStringLiteral("COM%1 (%2): %3").arg(note.port).arg(note.device, ReasonText(note));
    const bool denied = std::any_of(notes.begin(), notes.end(), [](const PortTroubleNote& n) {
        return n.fault == PortFault::Denied;
    });
    if (denied)
        lines << QString()
              << QStringLiteral("Чтобы получить доступ к портам, выполните в терминале")
              << QStringLiteral("sudo usermod -aG dialout $USER")
              << QStringLiteral("и войдите в систему заново.");
    return lines.join(QLatin1Char('\n'));
}

} // namespace PortAdvice
