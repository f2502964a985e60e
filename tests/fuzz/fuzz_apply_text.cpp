// Any bytes typed into a value edit and committed: no crash; the value stays within its
// bounds; the field then shows " " + the value through the mask; the text-to-number
// conversion agrees with a strict grammar written apart from it.

#include "FuzzCheck.h"
#include "NumberGrammar.h"
#include "QtOnce.h"
#include "SystemMasks.h"

#include "FormatMask.h"
#include "TExtEdit.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <optional>

namespace {

constexpr long double LowerBound = -1e6L;
constexpr long double UpperBound = 1e6L;
constexpr long double ZeroBelow = 1e-10L;
constexpr int64_t StartCents = 100000000; // the held value before typing: within ±1e6

// What an assignment stores: the upper bound first (NaN included), then the lower, then
// magnitudes below 1e-10 become 0.
long double Stored(long double v) {
    if (v > UpperBound || std::isnan(v))
        v = UpperBound;
    if (v < LowerBound)
        v = LowerBound;
    if (std::fabs(v) < ZeroBelow)
        v = 0;
    return v;
}

void CheckConversion(const QString& text) {
    const std::optional<long double> converted = FormatMask::StrToExtended(text);
    const std::optional<long double> expected = NumberGrammar::StrictValue(text);
    const QString detail = u"'"_qs + text + u"'"_qs;
    Require(converted.has_value() == expected.has_value(),
            "the conversion accepts exactly the strict numbers", detail);
    if (converted)
        Require(*converted == *expected, "the conversion's value",
                detail + u" gives "_qs + Exact(*converted));
}

TExtEdit& Edit() {
    static TExtEdit* edit = [] {
        auto* created = new TExtEdit(&OwnerWindow());
        created->SetValueMin(LowerBound);
        created->SetValueMax(UpperBound);
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
    const QStringList& masks = SystemMasks::All();
    const QString mask = masks.at(data.ConsumeIntegralInRange<int>(0, masks.size() - 1));
    const long double start =
        static_cast<long double>(data.ConsumeIntegralInRange<int64_t>(-StartCents, StartCents)) /
        100;
    const bool byEnter = data.ConsumeBool();
    const bool utf8 = data.ConsumeBool();
    const std::string rest = data.ConsumeRemainingBytesAsString();
    const QByteArray typedBytes(rest.data(), static_cast<qsizetype>(rest.size()));

    TExtEdit& edit = Edit();
    edit.SetValueFormat(mask);
    edit.SetValue(start);
    const long double held = edit.Value();
    edit.setText(utf8 ? QString::fromUtf8(typedBytes) : QString::fromLatin1(typedBytes));
    edit.setModified(true); // as typing leaves it
    const QString typed = edit.text();

    CheckConversion(typed);
    const QString number = NumberGrammar::NumberString(typed);
    CheckConversion(number);

    if (byEnter) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_qs);
        QCoreApplication::sendEvent(&edit, &enter);
    } else {
        edit.ApplyText();
    }

    const std::optional<long double> read = NumberGrammar::StrictValue(number);
    const long double expected = Stored(read ? *read : held);
    const QString detail = u"mask '"_qs + mask + u"', typed '"_qs + typed + u"', held "_qs +
                           Exact(held) + u", holds "_qs + Exact(edit.Value());
    Require(edit.Value() >= LowerBound && edit.Value() <= UpperBound, "value within bounds",
            detail);
    Require(edit.Value() == expected, "committed value",
            detail + u", wanted "_qs + Exact(expected));
    Require(edit.text() == u" "_qs + FormatMask::Format(mask, edit.Value()),
            "the field shows the committed value",
            detail + u", shows '"_qs + edit.text() + u"'"_qs);
    Require(!edit.isModified(), "a commit clears the modified flag", detail);
    return 0;
}
