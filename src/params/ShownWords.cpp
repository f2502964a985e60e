#include "ShownWords.h"

#include "FormatMask.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ShownWords {

namespace {

// Below this a spin edit shows zero.
constexpr long double ZeroBelow = 1e-10L;
// The damping slider's last position.
constexpr int LastDampingPosition = 5;

// The spin edit's value: kept within its range, a tiny value shown as zero.
long double InRange(const Catalogue::Entry& entry, long double value) {
    if (value > entry.max || std::isnan(value))
        value = entry.max;
    if (value < entry.min)
        value = entry.min;
    return std::fabs(value) < ZeroBelow ? 0.0L : value;
}

bool Is(const Catalogue::Entry& entry, const char* control) {
    return std::strcmp(entry.control, control) == 0;
}

// The item the control selects for the word.
int ItemOf(const Catalogue::Entry& entry, uint16_t word) {
    if (Is(entry, "ComboBox1") || Is(entry, "ComboBox2"))
        return ValveItem(word);
    if (Is(entry, "ComboBox4"))
        return ThrottleSensorItem(word);
    if (Is(entry, "ComboBox3"))
        return StartModeItem(word);
    if (Is(entry, "RadioButton1"))
        return word & 1;
    if (entry.kind == Catalogue::Kind::Choice)
        return word != 0 ? 1 : 0;
    return word;
}

// The mask's text without its padding; a minus sign stays beside its digits.
QString Number(const QString& mask, long double value) {
    QString shown = FormatMask::Format(mask, value).trimmed();
    if (shown.startsWith(u'-'))
        shown = u'-' + shown.mid(1).trimmed();
    return shown;
}

} // namespace

int ValveItem(uint16_t word) {
    return (word & 0xFF) != 0 ? 1 : 0;
}

int ThrottleSensorItem(uint16_t word) {
    return std::min<int>(word, 2);
}

int StartModeItem(uint16_t word) {
    return word <= 2 ? word : -1;
}

QString CoilMask(long double count) {
    return RoundHalfEven(count) == 1 ? QStringLiteral("                  0 катушка")
                                     : QStringLiteral("                  0 катушки");
}

QString CylinderMask(long double count) {
    return count >= 5 ? QStringLiteral("                #####0 цилиндров")
                      : QStringLiteral("                #####0 цилиндра");
}

std::optional<QString> SwitchOverCaption(int startItem) {
    switch (startItem) {
    case 0:
        return QStringLiteral("Переход с пара на жидкую фазу");
    case 1:
    case 2:
        return QStringLiteral("Переход с бензина на газ");
    default:
        return std::nullopt;
    }
}

QString Text(const Catalogue::Entry& entry, uint16_t word) {
    switch (entry.kind) {
    case Catalogue::Kind::List:
    case Catalogue::Kind::Choice: {
        const int item = ItemOf(entry, word);
        return item >= 0 && static_cast<std::size_t>(item) < entry.items.size()
                   ? QString::fromUtf8(entry.items[static_cast<std::size_t>(item)])
                   : QStringLiteral("—");
    }
    case Catalogue::Kind::Position:
        return QStringLiteral("%1 из %2")
            .arg(std::clamp(static_cast<int>(word) - 1, 0, LastDampingPosition))
            .arg(LastDampingPosition);
    case Catalogue::Kind::Value:
        break;
    }
    // A word written for a value below zero stands for that value.
    const long double value =
        InRange(entry, entry.WrittenValue(word).value_or(DecodeWord(entry.decode, word)));
    if (Is(entry, "SpinExtEdit9"))
        return Number(CoilMask(value), value);
    if (Is(entry, "SpinExtEdit2"))
        return Number(CylinderMask(value), value);
    return entry.mask ? Number(entry.Mask(), value) : QString::number(static_cast<double>(value));
}

} // namespace ShownWords
