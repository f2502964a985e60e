#pragma once
// The line's figures over a span of time, from the attempts the store holds (every PC's, for
// a shared store): units per hour per station and in all, the first-pass yield (good at the
// first attempt over first attempts), the failure reasons most frequent first, and per
// operator.

#include "LineAttempt.h"

#include <QDateTime>
#include <QString>
#include <QTime>

#include <optional>
#include <vector>

struct LineSpan {
    QDateTime from;
    QDateTime to;
    QString title; // "за 09.12.2026", "смена 09.12.2026 08:00–20:00"

    static LineSpan Day(const QDate& day);
    // The shift that runs at `now` or ran last; one whose end is not after its start ends on
    // the next day.
    static LineSpan Shift(const QTime& from, const QTime& to, const QDateTime& now);
};

struct LineFigures {
    struct Station {
        QString pc;
        int station = 0;
        int units = 0;
        int good = 0;
        double perHour = 0;
    };
    struct Reason {
        QString reason; // a failure's kind: its text up to the first colon
        int units = 0;
    };
    struct Operator {
        QString name;
        int units = 0;
        int good = 0;
        int firstAttempts = 0;
        int firstGood = 0;
    };

    LineSpan span;
    int units = 0;
    int good = 0;
    double perHour = 0;
    int firstAttempts = 0;
    int firstGood = 0;
    std::vector<Station> stations; // by PC, then station
    std::vector<Reason> reasons;   // most frequent first
    std::vector<Operator> operators;

    // Units per hour are of the span up to `now` when it has not ended yet.
    static LineFigures Of(const std::vector<LineAttempt>& attempts, const LineSpan& span,
                          const QDateTime& now);
    std::optional<double> FirstPassYield() const; // 0..1; none without a first attempt
    // One line of the window: units, units per hour, first-pass yield, the foremost reasons.
    QString Summary() const;
};

// "87,5 %"
QString PercentText(double share);
