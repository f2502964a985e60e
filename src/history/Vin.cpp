#include "Vin.h"

#include <array>

namespace {

constexpr int Length = 17;
constexpr std::array<int, Length> Weights{8, 7, 6, 5, 4, 3, 2, 10, 0, 9, 8, 7, 6, 5, 4, 3, 2};

// The value of a character in the check sum; -1 for one a VIN may not hold.
int ValueOf(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    // A–H 1–8, J–R 1–9 without O and Q, S–Z 2–9.
    static const QString letters = QStringLiteral("ABCDEFGHJKLMNPRSTUVWXYZ");
    static const std::array<int, 23> values{1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4,
                                            5, 7, 9, 2, 3, 4, 5, 6, 7, 8, 9};
    const qsizetype at = letters.indexOf(c);
    return at < 0 ? -1 : values[static_cast<std::size_t>(at)];
}

bool NeedsCheckDigit(const QString& vin) {
    const QChar region = vin.front();
    return (region >= u'1' && region <= u'5') || region == u'L';
}

} // namespace

namespace Vin {

QChar CheckDigit(const QString& vin) {
    int sum = 0;
    for (int i = 0; i < Length; ++i)
        sum += ValueOf(vin[i]) * Weights[static_cast<std::size_t>(i)];
    const int digit = sum % 11;
    return digit == 10 ? QChar(u'X') : QChar(u'0' + digit);
}

std::optional<QString> Refusal(const QString& vin) {
    if (vin.size() != Length)
        return QStringLiteral("VIN состоит из 17 знаков, а введено %1.").arg(vin.size());
    for (qsizetype i = 0; i < vin.size(); ++i) {
        const QChar c = vin[i];
        if (ValueOf(c) >= 0)
            continue;
        if (c == u'I' || c == u'O' || c == u'Q')
            return QStringLiteral("Буква %1 (знак %2) в VIN не встречается: её не путают с "
                                  "цифрами 1 и 0.")
                .arg(c)
                .arg(i + 1);
        return QStringLiteral("Знак «%1» (%2-й) в VIN не встречается: только цифры и латинские "
                              "заглавные буквы.")
            .arg(c)
            .arg(i + 1);
    }
    if (NeedsCheckDigit(vin) && vin[8] != CheckDigit(vin))
        return QStringLiteral("Контрольный знак VIN (9-й) не сходится: должен быть %1, а не %2. "
                              "Проверьте, не ошиблись ли в каком-то знаке.")
            .arg(CheckDigit(vin), vin[8]);
    return std::nullopt;
}

} // namespace Vin
