// The one error type of the program: a number a Windows programmer knows and
// a description in words. Every failing platform operation throws it; the
// form's dispatcher turns one that escapes a handler into the error report.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace zoriza {

enum ErrorNumber : std::int32_t {
    kInvalidProcedureCall = 5,
    kOverflow = 6,
    kOutOfMemory = 7,
    kInternalError = 51,
    kBadFileName = 52,
    kDeviceUnavailable = 68,
    kPathFileAccessError = 75,
    kPathNotFound = 76,
    kControlArrayElementMissing = 340,
    kInvalidPropertyValue = 380,
};

class AppError {
public:
    AppError(std::int32_t number, std::wstring description)
        : number_(number), description_(std::move(description)) {}

    std::int32_t Number() const { return number_; }
    const std::wstring& Description() const { return description_; }

    // What the program was doing when it failed, e.g. the shortcut it was
    // writing; shown above the number and description.
    const std::wstring& Context() const { return context_; }
    AppError WithContext(std::wstring context) const {
        AppError copy = *this;
        copy.context_ = std::move(context);
        return copy;
    }

private:
    std::int32_t number_;
    std::wstring description_;
    std::wstring context_;
};

// An index or a value that a control cannot take.
[[noreturn]] inline void ThrowInvalidProperty() { throw AppError(kInvalidPropertyValue, L"Invalid property value"); }

// A value the code that takes it has no case for: a fault of the program's own.
[[noreturn]] inline void ThrowInternalError() { throw AppError(kInternalError, L"Internal error"); }

// "Error 76: Path not found", as every report of an error says it.
std::wstring ErrorText(const AppError& error);

}  // namespace zoriza
