#include "FormatMask.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace FormatMask {
namespace {

constexpr int kSignificantDigits = 18;      // the decimal expansion rounding is judged on
constexpr int kGeneralDigits = 15;          // significant digits of the general notation
constexpr long double kGeneralFrom = 1e18L; // magnitude from which the mask is not used

struct MaskLayout {
    int placeholders = 0;     // '#' and '0'
    int integerPlaces = 0;    // placeholders before the first '.'
    int firstRequired = -1;   // index of the first '0' before the decimal position, -1 if none
    int requiredDecimals = 0; // decimals up to and including the last '0'
    int Decimals() const { return placeholders - integerPlaces; }
};

bool IsPlaceholder(QChar c) {
    return c == u'#' || c == u'0';
}

MaskLayout ScanMask(const QString& mask) {
    MaskLayout layout;
    bool pointSeen = false;
    int lastZero = -1;
    for (QChar c : mask) {
        if (c == u'.') {
            pointSeen = true;
        } else if (IsPlaceholder(c)) {
            if (!pointSeen)
                ++layout.integerPlaces;
            if (c == u'0')
                lastZero = layout.placeholders;
            if (c == u'0' && !pointSeen && layout.firstRequired < 0)
                layout.firstRequired = layout.placeholders;
            ++layout.placeholders;
        }
    }
    if (lastZero >= layout.integerPlaces)
        layout.requiredDecimals = lastZero - layout.integerPlaces + 1;
    return layout;
}

// A non-negative magnitude as its integer digits (no leading zeros, empty for zero) and
// its fractional digits (no trailing zeros).
struct Digits {
    QString integer;
    QString fraction;
    bool IsZero() const { return integer.isEmpty() && fraction.isEmpty(); }
};

// x in scientific notation with `digits` significant digits ("d.ddde±XX", as printf's %e
// writes it), the same whatever the process locale.
std::string Scientific(long double x, int digits) {
    char buffer[64];
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, digits - 1);
    return std::string(buffer, written.ptr);
}

// |x| rounded to `decimals` places, halves away from zero, decided on the 18 significant
// digits of its decimal expansion.
Digits RoundToDecimals(long double magnitude, int decimals) {
    Digits result;
    if (magnitude == 0.0L)
        return result;
    const std::string scientific = Scientific(magnitude, kSignificantDigits);
    // scientific: d.ddddddddddddddddde±XX
    QString digits;
    const char* p = scientific.c_str();
    for (; *p != 'e'; ++p) {
        if (*p != '.')
            digits.append(QLatin1Char(*p));
    }
    // value = 0.digits × 10^pointAt
    int exponent = 0;
    const char* exponentText = p[1] == '+' ? p + 2 : p + 1;
    std::from_chars(exponentText, scientific.c_str() + scientific.size(), exponent);
    int pointAt = exponent + 1;
    const int keep = pointAt + decimals;
    if (keep < 0)
        return result;
    if (keep < digits.size()) {
        const bool roundUp = digits.at(keep) >= u'5';
        digits.truncate(keep);
        if (roundUp) {
            int i = keep - 1;
            while (i >= 0 && digits.at(i) == u'9')
                digits[i--] = u'0';
            if (i >= 0) {
                digits[i] = QChar(digits.at(i).unicode() + 1);
            } else {
                digits.prepend(u'1');
                ++pointAt;
            }
        }
    } else {
        digits = digits.leftJustified(keep, u'0');
    }

    if (pointAt > 0) {
        result.integer = digits.left(pointAt).leftJustified(pointAt, u'0');
        result.fraction = digits.mid(pointAt);
    } else {
        result.fraction = QString(-pointAt, u'0') + digits;
    }
    result.fraction.truncate(decimals);
    while (result.integer.startsWith(u'0'))
        result.integer.remove(0, 1);
    while (result.fraction.endsWith(u'0'))
        result.fraction.chop(1);
    return result;
}

QString GeneralNotation(long double x) {
    if (std::isnan(x))
        return QStringLiteral("NAN");
    if (std::isinf(x))
        return x < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    QString text = QString::fromStdString(Scientific(x, kGeneralDigits));
    const int e = text.indexOf(u'e');
    QString mantissa = text.left(e);
    const int exponent = text.mid(e + 1).toInt();
    if (mantissa.contains(u'.')) {
        while (mantissa.endsWith(u'0'))
            mantissa.chop(1);
        if (mantissa.endsWith(u'.'))
            mantissa.chop(1);
    }
    return mantissa + u'E' + QString::number(exponent);
}

} // namespace

QString Format(const QString& mask, long double x) {
    if (!std::isfinite(x) || std::fabs(x) >= kGeneralFrom)
        return GeneralNotation(x);

    const MaskLayout layout = ScanMask(mask);
    const Digits digits = RoundToDecimals(std::fabs(x), layout.Decimals());
    const int integerDigits = digits.integer.size();

    QString out;
    if (x < 0 && !digits.IsZero())
        out.append(u'-');

    int placeholder = 0;
    bool separatorWritten = false;
    auto writeFractional = [&](QChar digit) {
        if (!separatorWritten)
            out.append(u'.');
        separatorWritten = true;
        out.append(digit);
    };
    for (QChar c : mask) {
        if (c == u'.')
            continue;
        if (!IsPlaceholder(c)) {
            out.append(c);
            continue;
        }
        const int k = placeholder++;
        if (k == 0 && integerDigits > layout.integerPlaces)
            out.append(digits.integer.left(integerDigits - layout.integerPlaces));
        if (k < layout.integerPlaces) {
            const int position = layout.integerPlaces - 1 - k; // 0 = units
            if (position < integerDigits)
                out.append(digits.integer.at(integerDigits - 1 - position));
            else if (layout.firstRequired >= 0 && k >= layout.firstRequired)
                out.append(u'0');
        } else {
            const int f = k - layout.integerPlaces;
            if (f < digits.fraction.size())
                writeFractional(digits.fraction.at(f));
            else if (f < layout.requiredDecimals)
                writeFractional(u'0');
        }
    }
    return out;
}

namespace {

// The decimal exponent of the leading significant digit of a plain number text ("0.05e3" is
// 1, "120" is 2), or 0 when it has none.
long MagnitudeExponent(const char* first, const char* last) {
    long integerDigits = 0;
    long zerosAfterPoint = 0;
    bool found = false;
    bool beforePoint = true;
    const char* p = first;
    for (; p != last && *p != 'e' && *p != 'E'; ++p) {
        if (*p == '.') {
            beforePoint = false;
        } else if (!found && *p == '0') {
            zerosAfterPoint += beforePoint ? 0 : 1;
        } else {
            found = true;
            integerDigits += beforePoint ? 1 : 0;
        }
    }
    if (!found)
        return 0;
    long exponent = 0;
    if (p != last) {
        ++p;
        const bool minus = p != last && *p == '-';
        if (p != last && (*p == '+' || *p == '-'))
            ++p;
        // An exponent longer than a long holds is far beyond the range either way.
        if (std::from_chars(p, last, exponent).ec != std::errc())
            exponent = std::numeric_limits<long>::max() / 2;
        exponent = minus ? -exponent : exponent;
    }
    return (integerDigits > 0 ? integerDigits - 1 : -(zerosAfterPoint + 1)) + exponent;
}

} // namespace

std::optional<long double> StrToExtended(const QString& text) {
    if (text == QStringLiteral("."))
        return 0.0L;

    const int n = text.size();
    int i = 0;
    auto isDigit = [&](int at) { return at < n && text.at(at) >= u'0' && text.at(at) <= u'9'; };
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    int mantissaDigits = 0;
    while (isDigit(i)) {
        ++i;
        ++mantissaDigits;
    }
    if (i < n && text.at(i) == u'.') {
        ++i;
        while (isDigit(i)) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < n && (text.at(i) == u'e' || text.at(i) == u'E')) {
        ++i;
        if (i < n && (text.at(i) == u'+' || text.at(i) == u'-'))
            ++i;
        if (!isDigit(i))
            return std::nullopt;
        while (isDigit(i))
            ++i;
    }
    if (i != n)
        return std::nullopt;

    // The text is plain ASCII now; from_chars reads it the same whatever the process locale.
    const QByteArray ascii = text.toLatin1();
    const bool negative = ascii.startsWith('-');
    const char* first = ascii.constData() + (ascii.startsWith('+') || negative ? 1 : 0);
    const char* last = ascii.constData() + ascii.size();
    long double value = 0.0L;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) {
        if (MagnitudeExponent(first, last) > 0)
            return std::nullopt; // beyond the extended range
        value = 0.0L;            // below it: zero
    } else if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    // Below the normal range is zero too, however near the boundary it was read.
    if (std::fpclassify(value) == FP_SUBNORMAL)
        value = 0.0L;
    return negative ? -value : value;
}

} // namespace FormatMask
