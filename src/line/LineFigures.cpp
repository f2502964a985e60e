#include "LineFigures.h"

#include <algorithm>
#include <map>

namespace {

QString KindOf(const QString& reason) {
    const qsizetype colon = reason.indexOf(u':');
    return (colon < 0 ? reason : reason.left(colon)).trimmed();
}

} // namespace

LineSpan LineSpan::Day(const QDate& day) {
    return {day.startOfDay(), day.addDays(1).startOfDay(),
            QStringLiteral("за %1").arg(day.toString(QStringLiteral("dd.MM.yyyy")))};
}

LineSpan LineSpan::Shift(const QTime& from, const QTime& to, const QDateTime& now) {
    QDateTime start(now.date(), from);
    if (start > now)
        start = start.addDays(-1);
    QDateTime end(start.date(), to);
    if (end <= start)
        end = end.addDays(1);
    return {start, end,
            QStringLiteral("смена %1 %2–%3")
                .arg(start.date().toString(QStringLiteral("dd.MM.yyyy")),
                     from.toString(QStringLiteral("HH:mm")), to.toString(QStringLiteral("HH:mm")))};
}

LineFigures LineFigures::Of(const std::vector<LineAttempt>& attempts, const LineSpan& span,
                            const QDateTime& now) {
    LineFigures f;
    f.span = span;
    std::map<std::pair<QString, int>, Station> stations;
    std::map<QString, int> reasons;
    std::map<QString, Operator> operators;
    for (const LineAttempt& a : attempts) {
        ++f.units;
        f.good += a.good ? 1 : 0;
        Station& s = stations[{a.pc, a.station}];
        s.pc = a.pc;
        s.station = a.station;
        ++s.units;
        s.good += a.good ? 1 : 0;
        Operator& o = operators[a.operatorName];
        o.name = a.operatorName;
        ++o.units;
        o.good += a.good ? 1 : 0;
        if (a.attempt == 1) {
            ++f.firstAttempts;
            ++o.firstAttempts;
            f.firstGood += a.good ? 1 : 0;
            o.firstGood += a.good ? 1 : 0;
        }
        if (!a.good)
            ++reasons[KindOf(a.reason)];
    }
    const QDateTime end = std::min(span.to, std::max(now, span.from));
    const double hours = static_cast<double>(span.from.msecsTo(end)) / 3'600'000.0;
    for (auto& [key, s] : stations) {
        s.perHour = hours > 0 ? s.units / hours : 0;
        f.stations.push_back(s);
    }
    f.perHour = hours > 0 ? f.units / hours : 0;
    for (const auto& [reason, units] : reasons)
        f.reasons.push_back({reason, units});
    std::stable_sort(f.reasons.begin(), f.reasons.end(),
                     [](const Reason& a, const Reason& b) { return a.units > b.units; });
    for (const auto& [name, o] : operators)
        f.operators.push_back(o);
    return f;
}

std::optional<double> LineFigures::FirstPassYield() const {
    if (firstAttempts == 0)
        return std::nullopt;
    return static_cast<double>(firstGood) / firstAttempts;
}

QString PercentText(double share) {
    return QString::number(share * 100, 'f', 1).replace(u'.', u',') + QStringLiteral(" %");
}

QString LineFigures::Summary() const {
    QString text = QStringLiteral("%1: приборов %2, годен %3, в час %4")
                       .arg(span.title)
                       .arg(units)
                       .arg(good)
                       .arg(qRound(perHour));
    if (const auto yield = FirstPassYield())
        text += QStringLiteral(", годен с первого раза %1").arg(PercentText(*yield));
    if (!reasons.empty()) {
        QStringList first;
        for (size_t i = 0; i < reasons.size() && i < 3; ++i)
            first << QStringLiteral("%1 — %2").arg(reasons[i].reason).arg(reasons[i].units);
        text += QStringLiteral("; причины брака: ") + first.join(QStringLiteral(", "));
    }
    return text;
}
