#include "LineAttempt.h"

#include <array>

namespace {
const std::array<QString, 4> StateNames = {QStringLiteral("reserved"), QStringLiteral("written"),
                                           QStringLiteral("confirmed"),
                                           QStringLiteral("abandoned")};
} // namespace

QJsonObject LineAttempt::ToJson() const {
    return {{QStringLiteral("uid"), uid},
            {QStringLiteral("time"), StoreTime(time)},
            {QStringLiteral("pc"), pc},
            {QStringLiteral("station"), station},
            {QStringLiteral("operator"), operatorName},
            {QStringLiteral("serial"), serial},
            {QStringLiteral("made"), made},
            {QStringLiteral("reference"), referenceName},
            {QStringLiteral("sha256"), referenceSha256},
            {QStringLiteral("good"), good},
            {QStringLiteral("reason"), reason},
            {QStringLiteral("differed"), differed},
            {QStringLiteral("durationMs"), static_cast<double>(durationMs)},
            {QStringLiteral("attempt"), attempt},
            {QStringLiteral("numberTaken"), numberTaken},
            {QStringLiteral("label"), label},
            {QStringLiteral("labelCheck"), labelCheck},
            {QStringLiteral("labelReprints"), labelReprints}};
}

LineAttempt LineAttempt::FromJson(const QJsonObject& json) {
    LineAttempt a;
    a.uid = json[QStringLiteral("uid")].toString();
    a.time = QDateTime::fromString(json[QStringLiteral("time")].toString(), Qt::ISODateWithMs);
    a.pc = json[QStringLiteral("pc")].toString();
    a.station = json[QStringLiteral("station")].toInt();
    a.operatorName = json[QStringLiteral("operator")].toString();
    a.serial = json[QStringLiteral("serial")].toString();
    a.made = json[QStringLiteral("made")].toString();
    a.referenceName = json[QStringLiteral("reference")].toString();
    a.referenceSha256 = json[QStringLiteral("sha256")].toString();
    a.good = json[QStringLiteral("good")].toBool();
    a.reason = json[QStringLiteral("reason")].toString();
    a.differed = json[QStringLiteral("differed")].toString();
    a.durationMs = static_cast<qint64>(json[QStringLiteral("durationMs")].toDouble());
    a.attempt = json[QStringLiteral("attempt")].toInt(1);
    a.numberTaken = json[QStringLiteral("numberTaken")].toString();
    a.label = json[QStringLiteral("label")].toString();
    a.labelCheck = json[QStringLiteral("labelCheck")].toString();
    a.labelReprints = json[QStringLiteral("labelReprints")].toInt();
    return a;
}

QString NumberStateName(NumberState state) {
    return StateNames.at(static_cast<size_t>(state));
}

std::optional<NumberState> NumberStateNamed(const QString& name) {
    for (size_t i = 0; i < StateNames.size(); ++i)
        if (StateNames[i] == name)
            return static_cast<NumberState>(i);
    return std::nullopt;
}

QString StoreTime(const QDateTime& time) {
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}
