#include "ShownNumber.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

} // namespace

WrittenParts SplitWritten(const QString& text) {
    WrittenParts parts;
    int i = 0;
    if (text.startsWith(u'-')) {
        parts.negative = true;
        i = 1;
    }
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (IsDigit(c) || c == u'.')
            parts.number.append(c);
        else
            parts.literals.append(c);
    }
    return parts;
}

QString MaskLiterals(const QString& mask) {
    QString literals;
    for (QChar c : mask) {
        if (c != u'#' && c != u'0' && c != u'.')
            literals.append(c);
    }
    return literals;
}

int MaskDecimals(const QString& mask) {
    const int point = mask.indexOf(u'.');
    if (point < 0)
        return 0;
    int decimals = 0;
    for (int i = point + 1; i < mask.size(); ++i) {
        if (mask.at(i) == u'#' || mask.at(i) == u'0')
            ++decimals;
    }
    return decimals;
}

long double DecimalValue(const QString& number) {
    if (number.isEmpty())
        return 0.0L;
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtold_l(number.toLatin1().constData(), nullptr, cLocale);
}

QString NormalizedDecimal(const QString& number) {
    const int point = number.indexOf(u'.');
    QString integer = point < 0 ? number : number.left(point);
    QString fraction = point < 0 ? QString() : number.mid(point + 1);
    while (integer.startsWith(u'0'))
        integer.remove(0, 1);
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    return fraction.isEmpty() ? integer : integer + u'.' + fraction;
}

// The 18 significant digits as an integer m with value = m × 10^scale, rounded in integer
// arithmetic.
QString RoundedDecimal(long double magnitude, int decimals) {
    if (magnitude == 0)
        return {};
    char text[64];
    std::snprintf(text, sizeof text, "%.17Le", magnitude);
    uint64_t m = 0;
    const char* p = text;
    for (; *p != 'e'; ++p) {
        if (*p != '.')
            m = m * 10 + static_cast<uint64_t>(*p - '0');
    }
    const int scale = std::atoi(p + 1) - 17;
    const int shift = scale + decimals; // units of 10^-decimals: m × 10^shift
    QString units;
    if (shift >= 0) {
        units = QString::number(m) + QString(shift, u'0');
    } else if (-shift > 19) {
        return {};
    } else {
        uint64_t divisor = 1;
        for (int i = 0; i < -shift; ++i)
            divisor *= 10;
        const uint64_t half = divisor / 2;
        uint64_t quotient = m / divisor;
        if (m % divisor >= half)
            ++quotient;
        units = QString::number(quotient);
    }
    units = units.rightJustified(decimals + 1, u'0');
    return NormalizedDecimal(units.left(units.size() - decimals) + u'.' + units.right(decimals));
}
