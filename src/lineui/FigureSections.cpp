#include "FigureSections.h"

namespace {

QString Yield(int good, int of) {
    return of == 0 ? QStringLiteral("—") : PercentText(static_cast<double>(good) / of);
}

} // namespace

std::vector<Sheets::Section> FigureSections(const LineFigures& f) {
    Sheets::Section stations{QStringLiteral("Места %1").arg(f.span.title),
                             {QStringLiteral("ПК"), QStringLiteral("Место"),
                              QStringLiteral("Приборов"), QStringLiteral("Годен"),
                              QStringLiteral("В час")},
                             {},
                             {32, 14, 18, 18, 18}};
    for (const LineFigures::Station& s : f.stations)
        stations.rows.push_back({{s.pc, QString::number(s.station), QString::number(s.units),
                                  QString::number(s.good), QString::number(qRound(s.perHour))}});
    stations.rows.push_back({{QStringLiteral("Всего"), QString(), QString::number(f.units),
                              QString::number(f.good), QString::number(qRound(f.perHour))}});
    stations.rows.push_back({{QStringLiteral("Годен с первого раза: %1 (%2 из %3)")
                                  .arg(Yield(f.firstGood, f.firstAttempts))
                                  .arg(f.firstGood)
                                  .arg(f.firstAttempts)},
                             Sheets::RowKind::Heading});

    Sheets::Section reasons{
        QStringLiteral("Причины брака"),
        {QStringLiteral("Причина"), QStringLiteral("Приборов"), QStringLiteral("Доля брака")},
        {},
        {60, 20, 20}};
    const int bad = f.units - f.good;
    for (const LineFigures::Reason& r : f.reasons)
        reasons.rows.push_back({{r.reason, QString::number(r.units), Yield(r.units, bad)}});

    Sheets::Section operators{QStringLiteral("Операторы"),
                              {QStringLiteral("Оператор"), QStringLiteral("Приборов"),
                               QStringLiteral("Годен"), QStringLiteral("С первого раза")},
                              {},
                              {40, 20, 20, 20}};
    for (const LineFigures::Operator& o : f.operators)
        operators.rows.push_back(
            {{o.name.isEmpty() ? QStringLiteral("—") : o.name, QString::number(o.units),
              QString::number(o.good), Yield(o.firstGood, o.firstAttempts)}});
    return {stations, reasons, operators};
}
