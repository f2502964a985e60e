#include "NumberGrammar.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace NumberGrammar {

bool IsStrictNumber(const QString& text) {
    static const QRegularExpression strict(QRegularExpression::anchoredPattern(
        u"\\.|[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)([eE][+-]?[0-9]+)?"_qs));
    return strict.match(text).hasMatch();
}

std::optional<long double> StrictValue(const QString& text) {
    if (!IsStrictNumber(text))
        return std::nullopt;
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const long double value = strtold_l(text.toLatin1().constData(), nullptr, cLocale);
    if (std::isinf(value))
        return std::nullopt;
    // Below the normal extended range a value reads as zero.
    if (std::fpclassify(value) == FP_SUBNORMAL)
        return value < 0 ? -0.0L : 0.0L;
    return value;
}

QString NumberString(const QString& typed) {
    static const QRegularExpression start(u"[0-9+.-]"_qs);
    static const QString kept = u"0123456789.eE"_qs;
    const QString text = QString(typed).replace(u',', u'.');
    const int from = text.indexOf(start);
    if (from < 0)
        return {};
    // A blank between a digit and exactly three digits, before any point or exponent, groups
    // thousands; the first other blank ends the number.
    static const QRegularExpression grouping(u"(?<=[0-9]) (?=[0-9]{3}(?![0-9]))"_qs);
    static const QRegularExpression fraction(u"[.eE]"_qs);
    int end = from;
    do
        end = text.indexOf(u' ', end + 1);
    while (end > 0 && text.indexOf(grouping, end) == end &&
           !text.mid(from, end - from).contains(fraction));
    if (end < 0)
        end = text.size();
    QString number = text.mid(from, 1);
    for (int i = from + 1; i < end; ++i) {
        if (kept.contains(text.at(i)))
            number += text.at(i);
    }
    return number;
}

} // namespace NumberGrammar
