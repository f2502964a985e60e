#include "LimitBox.h"

#include "FormatMask.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// The text without the box's suffix.
QString WithoutSuffix(const QString& text, const QString& suffix) {
    QString typed = text.trimmed();
    const QString unit = suffix.trimmed();
    if (!unit.isEmpty() && typed.endsWith(unit))
        typed.chop(unit.size());
    return typed.trimmed();
}

// The typed number with a point for its decimal separator; blanks go only where they separate
// groups of three digits in the whole part ("1 600,5").
QString Plain(QString text) {
    static const QRegularExpression grouped(QStringLiteral("^[+-]?\\d{1,3}( \\d{3})+([.,]\\d*)?$"));
    if (grouped.match(text).hasMatch())
        text.remove(u' ');
    return text.replace(u',', u'.');
}

bool MayBecomeNumber(const QString& plain) {
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const QChar c = plain.at(i);
        const bool sign = (c == u'-' || c == u'+') && i == 0;
        if (!c.isDigit() && c != u'.' && c != u' ' && !sign)
            return false;
    }
    return plain.count(u'.') <= 1;
}

} // namespace

LimitBox::LimitBox(QWidget* parent) : QDoubleSpinBox(parent) {}

std::optional<double> LimitBox::Parse(const QString& text) const {
    const QString plain = Plain(WithoutSuffix(text, suffix()));
    if (std::none_of(plain.begin(), plain.end(), [](QChar c) { return c.isDigit(); }))
        return std::nullopt;
    const std::optional<long double> value = FormatMask::StrToExtended(plain);
    if (!value)
        return std::nullopt;
    return static_cast<double>(*value);
}

double LimitBox::valueFromText(const QString& text) const {
    return Parse(text).value_or(value());
}

QString LimitBox::textFromValue(double value) const {
    return QString::number(value, 'f', decimals()).replace(u'.', u',');
}

QValidator::State LimitBox::validate(QString& input, int& pos) const {
    Q_UNUSED(pos)
    if (!MayBecomeNumber(Plain(WithoutSuffix(input, suffix()))))
        return QValidator::Invalid;
    const std::optional<double> value = Parse(input);
    if (!value)
        return QValidator::Intermediate;
    return *value >= minimum() && *value <= maximum() ? QValidator::Acceptable
                                                      : QValidator::Intermediate;
}

void LimitBox::fixup(QString& input) const {
    if (const std::optional<double> value = Parse(input))
        input = textFromValue(std::clamp(*value, minimum(), maximum())) + suffix();
}
