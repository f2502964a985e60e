// Masks built from the elements of the window's masks, and any long double: the mask never
// crashes and writes a well-formed text; under the window's own masks, a non-negative value
// shown in a value edit reads back to the number it shows.

#include "FuzzCheck.h"
#include "QtOnce.h"
#include "ShownNumber.h"
#include "SystemMasks.h"

#include "FormatMask.h"
#include "TExtEdit.h"

#include <QRegularExpression>

#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

constexpr long double GeneralFrom = 1e18L;   // from here on the mask is not used
constexpr long double ReadBackBelow = 1e15L; // values the round trip is checked for
constexpr long double WideBound = 1e18L;
constexpr long double ZeroBelow = 1e-10L; // a value edit stores smaller magnitudes as 0
constexpr int MaxElements = 24;

const long double SpecialValues[] = {
    0.0L,
    -0.0L,
    LDBL_MAX,
    -LDBL_MAX,
    LDBL_MIN,
    LDBL_TRUE_MIN,
    -LDBL_TRUE_MIN,
    std::numeric_limits<long double>::infinity(),
    -std::numeric_limits<long double>::infinity(),
    std::numeric_limits<long double>::quiet_NaN(),
    -std::numeric_limits<long double>::quiet_NaN(),
    std::numeric_limits<long double>::signaling_NaN(),
    1e18L,
    std::nextafter(1e18L, 0.0L),
    -std::nextafter(1e18L, 0.0L),
    1e15L,
    std::nextafter(1e15L, 0.0L),
    999999999999999.995L,
    0.5L,
    2.5L,
    0.125L,
    0.005L,
    0.045L,
    1e-10L,
    4.575L,
    1.0L / 1024,
};

// Any bit pattern of the 80-bit format, with its explicit integer bit made to agree with the
// exponent, so that only values arithmetic can produce are formed.
long double FromBits(FuzzedDataProvider& data) {
    unsigned char bytes[sizeof(long double)] = {};
    const std::vector<uint8_t> raw = data.ConsumeBytes<uint8_t>(10);
    if (!raw.empty())
        std::memcpy(bytes, raw.data(), raw.size());
    const bool normalOrSpecial = (bytes[8] | (bytes[9] & 0x7F)) != 0;
    bytes[7] = static_cast<unsigned char>(normalOrSpecial ? bytes[7] | 0x80 : bytes[7] & 0x7F);
    long double x = 0;
    std::memcpy(&x, bytes, 10);
    return x;
}

// The nearest long double to mantissa × 10^exponent: hits the decimal ties of the rounding.
long double FromDecimal(FuzzedDataProvider& data) {
    const auto mantissa = data.ConsumeIntegral<int64_t>();
    const int exponent = data.ConsumeIntegralInRange(-30, 22);
    char text[64];
    std::snprintf(text, sizeof text, "%llde%d", static_cast<long long>(mantissa), exponent);
    return std::strtold(text, nullptr);
}

long double AnyValue(FuzzedDataProvider& data) {
    switch (data.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return data.PickValueInArray(SpecialValues);
    case 1:
        return FromDecimal(data);
    default:
        return FromBits(data);
    }
}

QString AnyMask(FuzzedDataProvider& data) {
    if (data.ConsumeBool())
        return SystemMasks::All().at(
            data.ConsumeIntegralInRange<int>(0, SystemMasks::All().size() - 1));
    QString mask;
    const int count = data.ConsumeIntegralInRange(0, MaxElements);
    const QStringList& elements = SystemMasks::Elements();
    for (int i = 0; i < count; ++i)
        mask += elements.at(data.ConsumeIntegralInRange<int>(0, elements.size() - 1));
    return mask;
}

int Placeholders(const QString& mask) {
    return mask.count(u'#') + mask.count(u'0');
}

void CheckGeneralNotation(long double x, const QString& written) {
    if (std::isnan(x)) {
        Require(written == u"NAN"_qs, "NaN is written NAN", written);
        return;
    }
    if (std::isinf(x)) {
        Require(written == (x < 0 ? u"-INF"_qs : u"INF"_qs), "infinity", written);
        return;
    }
    static const QRegularExpression general(
        QRegularExpression::anchoredPattern(u"-?[1-9](\\.[0-9]*[1-9])?E[1-9][0-9]*"_qs));
    Require(general.match(written).hasMatch(), "general notation", written);
    Require(written.startsWith(u'-') == (x < 0), "sign of the general notation", written);
    const QString mantissa = written.left(written.indexOf(u'E')).remove(u'-').remove(u'.');
    Require(mantissa.size() <= 15, "at most 15 significant digits", written);
    const long double back = std::strtold(written.toLatin1().constData(), nullptr);
    Require(std::fabs(back - x) <= std::fabs(x) * 1e-14L, "general notation keeps the value",
            written + u" for "_qs + Exact(x));
}

void CheckMaskText(const QString& mask, long double x, const QString& written) {
    const WrittenParts parts = SplitWritten(written);
    const QString detail =
        u"mask '"_qs + mask + u"', x "_qs + Exact(x) + u": '"_qs + written + u"'"_qs;
    Require(parts.literals == MaskLiterals(mask), "literal text kept in order", detail);
    Require(!parts.negative || x < 0, "minus only for a negative value", detail);

    const int decimals = MaskDecimals(mask);
    const int point = parts.number.indexOf(u'.');
    Require(parts.number.count(u'.') <= 1, "at most one decimal separator", detail);
    if (point >= 0) {
        Require(decimals > 0, "a separator only where the mask has decimals", detail);
        Require(point + 1 < parts.number.size() && parts.number.at(point + 1) != u'.',
                "a fractional digit follows the separator", detail);
        const QString afterPoint = written.mid(written.indexOf(u'.') + 1, 1);
        Require(!afterPoint.isEmpty() && afterPoint.at(0).isDigit(),
                "the separator stands right before a digit", detail);
        Require(parts.number.size() - point - 1 <= decimals, "no more decimals than the mask",
                detail);
    }
    if (Placeholders(mask) == 0) {
        Require(parts.number.isEmpty(), "no digits without placeholders", detail);
        Require(parts.negative == (x < 0 && !RoundedDecimal(std::fabs(x), 0).isEmpty()),
                "a minus exactly for a negative value that does not round to zero", detail);
        return;
    }
    const int digits = parts.number.size() - (point >= 0 ? 1 : 0);
    Require(digits >= mask.count(u'0'), "every required place writes a digit", detail);

    const QString rounded = RoundedDecimal(std::fabs(x), decimals);
    Require(NormalizedDecimal(parts.number) == rounded,
            "the digits show the value rounded half away from zero on 18 digits",
            detail + u" wants "_qs + rounded);
    Require(parts.negative == (x < 0 && !rounded.isEmpty()),
            "a minus exactly for a negative value that does not round to zero", detail);
}

// A value edit showing v through the mask commits its own text back to the number it shows.
void CheckReadBack(TExtEdit& edit, const QString& mask, long double v) {
    edit.SetValueFormat(mask);
    edit.SetValue(v);
    const QString shown = edit.text();
    const QString detail =
        u"mask '"_qs + mask + u"', v "_qs + Exact(v) + u": '"_qs + shown + u"'"_qs;
    Require(shown == u" "_qs + FormatMask::Format(mask, edit.Value()), "shown text", detail);
    edit.ApplyText();
    Require(edit.text() == shown, "committing the shown text keeps it", detail);
    long double number = DecimalValue(SplitWritten(shown.mid(1)).number);
    if (std::fabs(number) < ZeroBelow)
        number = 0;
    Require(edit.Value() == number, "committing the shown text holds the shown number",
            detail + u" holds "_qs + Exact(edit.Value()));
}

TExtEdit& ReadBackEdit() {
    static TExtEdit* edit = [] {
        auto* created = new TExtEdit(&OwnerWindow());
        created->SetValueMin(-WideBound);
        created->SetValueMax(WideBound);
        return created;
    }();
    return *edit;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnsureApplication(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const long double x = AnyValue(data);
    const QString mask = AnyMask(data);

    const QString written = FormatMask::Format(mask, x);
    if (!std::isfinite(x) || std::fabs(x) >= GeneralFrom)
        CheckGeneralNotation(x, written);
    else
        CheckMaskText(mask, x, written);

    const long double v = std::fabs(x);
    if (std::isfinite(v) && v < ReadBackBelow) {
        for (const QString& systemMask : SystemMasks::All())
            CheckReadBack(ReadBackEdit(), systemMask, v);
    }
    return 0;
}
