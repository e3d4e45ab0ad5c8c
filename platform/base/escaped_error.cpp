#include "platform/base/escaped_error.h"

#include <exception>
#include <new>
#include <string>

namespace zoriza {

namespace {

// Each byte of `text` as the character of the same number.
std::wstring Widen(const char* text) {
    std::wstring wide;
    for (const char* p = text; *p != '\0'; ++p) wide += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return wide;
}

}  // namespace

std::optional<EscapedError> CatchEscaped(const std::function<void()>& work) {
    try {
        work();
        return std::nullopt;
    } catch (const AppError& error) {
        return EscapedError{EscapedError::Kind::Own, error};
    } catch (const std::bad_alloc&) {
        return EscapedError{EscapedError::Kind::OutOfMemory, AppError(kOutOfMemory, L"Out of memory")};
    } catch (const std::exception& error) {
        return EscapedError{EscapedError::Kind::Unforeseen, AppError(kInternalError, Widen(error.what()))};
    }
}

}  // namespace zoriza
