#include "InOutError.h"

#include "PosixFile.h"

#include <array>
#include <optional>

namespace {

struct CodeText {
    int code;
    const char* text;
};

constexpr std::array<CodeText, 7> Texts = {{
    {InOutCode::FileNotFound, "File not found"},
    {InOutCode::InvalidFilename, "Invalid filename"},
    {InOutCode::TooManyOpenFiles, "Too many open files"},
    {InOutCode::AccessDenied, "File access denied"},
    {InOutCode::ReadBeyondEnd, "Read beyond end of file"},
    {InOutCode::DiskFull, "Disk full"},
    {InOutCode::InvalidNumericInput, "Invalid numeric input"},
}};

std::string GenericText(int code) {
    return "I/O error " + std::to_string(code);
}

} // namespace

std::string InOutErrorText(int code) {
    for (const CodeText& entry : Texts) {
        if (entry.code == code)
            return entry.text;
    }
    return GenericText(code);
}

EInOutError::EInOutError(int code) : EInOutError(code, InOutErrorText(code)) {}

EInOutError::EInOutError(int code, const std::string& text)
    : std::runtime_error(text), code_(code) {}

EInOutError EInOutError::FromErrno(int errorNumber) {
    if (const std::optional<int> code = PosixFile::CodeOfError(errorNumber))
        return EInOutError(*code);
    return EInOutError(errorNumber, GenericText(errorNumber));
}
