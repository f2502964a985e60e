#pragma once
// A text that should have been a number. Reaches the application's error handler like the
// file errors; what() is UTF-8.

#include <QString>

#include <stdexcept>

class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    // "'<text>' is not a valid integer value"
    static EConvertError NotValidInteger(const QString& text);
};
