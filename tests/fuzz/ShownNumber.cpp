#include "ShownNumber.h"

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
