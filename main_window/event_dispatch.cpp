// The dispatcher: each event to its handler, and an error that escapes one
// turned into the error report.
#include "main_window/layout.h"
#include "main_window/main_window.h"
#include "platform/base/escaped_error.h"

namespace zoriza {

namespace {

constexpr wchar_t kBlankLine[] = L"\r\n\r\n";

}  // namespace

void Form1::RunHandler(FormEvent event) {
    switch (event) {
        case FormEvent::Load: Form_Load(); break;
        case FormEvent::LangClick: Lang_Click(); break;
        case FormEvent::DriveChange: Drive1_Change(); break;
        case FormEvent::SearchClick: Search_Click(); break;
        case FormEvent::IntroClick: Intro_Click(); break;
    }
}

bool Form1::Dispatch(FormEvent event) {
    const std::optional<EscapedError> escaped = CatchEscaped([&] { RunHandler(event); });
    if (escaped) ReportError(escaped->error);
    return !escaped;
}

std::wstring ErrorReportText(const AppError& error) {
    std::wstring text;
    if (!error.Context().empty()) text = error.Context() + kBlankLine;
    return text + ErrorText(error);
}

void Form1::ReportError(const AppError& error) {
    c_.form.ShowMessage(ErrorReportText(error), kApplicationTitle, MessageIcon::Error);
}

}  // namespace zoriza
