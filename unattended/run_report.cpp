#include "unattended/run_report.h"

#include "platform/base/escaped_error.h"
#include "platform/base/text.h"

namespace zoriza {

std::wstring ErrorText(const AppError& error) {
    return Joined({L"Error ", DecimalText(error.Number()), L": ", error.Description()});
}

int Finish(OutputLines& out, int code, std::initializer_list<std::wstring_view> what) {
    const std::wstring head = Joined({L"exit ", DecimalText(code), L": "});
    std::wstring line = head;
    for (const std::wstring_view piece : what) line.append(piece);
    out.Line(line);
    return code;
}

namespace {

// What the last line says after "unexpected error": the program's own error,
// or memory running out; of an error nobody foresaw, nothing.
std::wstring UnexpectedErrorDetail(const EscapedError& escaped) {
    switch (escaped.kind) {
        case EscapedError::Kind::Own: return Joined({L": ", ErrorText(escaped.error)});
        case EscapedError::Kind::OutOfMemory: return L": out of memory";
        case EscapedError::Kind::Unforeseen: break;
    }
    return L"";
}

}  // namespace

int Guarded(OutputLines& out, const std::function<int()>& run) {
    int code = kExitUnexpected;
    const std::optional<EscapedError> escaped = CatchEscaped([&] { code = run(); });
    if (!escaped) return code;
    return Finish(out, kExitUnexpected, {L"unexpected error", UnexpectedErrorDetail(*escaped)});
}

void StartUpReport::SettingPassedOver(const std::wstring& valueName, const std::wstring& text,
                                      const AppError& error) {
    out_.Line(Joined({L"passed over: saved ", valueName, L" \"", text, L"\": ", ErrorText(error)}));
}

}  // namespace zoriza
