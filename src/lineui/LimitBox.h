#pragma once
// A bound of a live limit, typed as the main window's fields are typed: a comma or a point is
// the decimal separator whatever the locale ("11,5" and "11.5" are both 11.5), a blank between
// digit groups separates thousands. Shown with a decimal comma.

#include <QDoubleSpinBox>

#include <optional>

class LimitBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit LimitBox(QWidget* parent = nullptr);

    // The number in a typed text, its suffix left out; none when it is no number.
    std::optional<double> Parse(const QString& text) const;

    double valueFromText(const QString& text) const override;
    QString textFromValue(double value) const override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};
