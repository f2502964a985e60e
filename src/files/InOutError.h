#pragma once
// File errors. They end the user action in progress and reach the application's error
// handler, which shows what() (UTF-8).

#include <stdexcept>
#include <string>

namespace InOutCode {
inline constexpr int FileNotFound = 2;
inline constexpr int InvalidFilename = 3;
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int ReadBeyondEnd = 100;
inline constexpr int DiskFull = 101;
inline constexpr int InvalidNumericInput = 106;
} // namespace InOutCode

// The text shown for an I/O error code: "File not found", ..., or "I/O error <code>".
std::string InOutErrorText(int code);

class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(int code);

    // Maps the system's error number: access errors to AccessDenied, ENOENT to FileNotFound,
    // EMFILE, ENOSPC and ENAMETOOLONG to their codes; any other number keeps its own value
    // and the text "I/O error <errno>", even where the number equals one of the codes above.
    static EInOutError FromErrno(int errorNumber);

    int code() const noexcept { return code_; }

private:
    EInOutError(int code, const std::string& text);

    int code_;
};
