#include "CountText.h"

namespace CountText {

const QString& Noun(qint64 count, const Forms& forms) {
    const qint64 n = count < 0 ? -count : count;
    const qint64 lastTwo = n % 100;
    if (lastTwo >= 11 && lastTwo <= 14)
        return forms.many;
    switch (n % 10) {
    case 1:
        return forms.one;
    case 2:
    case 3:
    case 4:
        return forms.few;
    default:
        return forms.many;
    }
}

QString Of(qint64 count, const Forms& forms) {
    return QString::number(count) + QLatin1Char(' ') + Noun(count, forms);
}

} // namespace CountText
