// What every error report of the program looks like: titled "ZORIZA", with
// the error icon, "Error <number>: <description>" with both filled in, after
// what was being done when there is something to name.
#pragma once

#include <gtest/gtest.h>

#include <cwctype>
#include <optional>
#include <string>

#include "tests/e2e/driver.h"

namespace zoriza::e2e {

// `context` empty: the report starts with "Error "; `number` none: any
// number; `description` none: any description.
inline ::testing::AssertionResult IsErrorReport(const std::optional<MessageBoxSeen>& box,
                                                const std::wstring& context = L"",
                                                std::optional<int> number = std::nullopt,
                                                std::optional<std::wstring> description = std::nullopt) {
    if (!box) return ::testing::AssertionFailure() << "no message box";
    const auto failure = [&] {
        return ::testing::AssertionFailure() << "report " << ::testing::PrintToString(box->title) << ": "
                                             << ::testing::PrintToString(box->text);
    };
    const std::wstring head = (context.empty() ? L"" : context + L"\r\n\r\n") + L"Error ";
    const std::wstring& text = box->text;
    if (box->title != L"ZORIZA" || !box->errorIcon || text.rfind(head, 0) != 0) return failure();
    std::size_t end = head.size();
    if (end < text.size() && text[end] == L'-') ++end;  // a COM failure's number is negative
    const std::size_t digits = end;
    while (end < text.size() && std::iswdigit(text[end])) ++end;
    if (end == digits || text.compare(end, 2, L": ") != 0 || end + 2 >= text.size()) return failure();
    if (number && std::stoi(text.substr(head.size(), end - head.size())) != *number) return failure();
    if (description && text.substr(end + 2) != *description) return failure();
    return ::testing::AssertionSuccess();
}

}  // namespace zoriza::e2e
