#pragma once
// A recording or a log that cannot go on: the text says what happened and what was kept.

#include <QString>

#include <stdexcept>

class LogError : public std::runtime_error {
public:
    explicit LogError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};
