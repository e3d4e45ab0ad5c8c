// The dispatcher: each event to its handler, and an error that escapes one
// turned into the error report.
#include <new>
#include <stdexcept>

#include "main_window/layout.h"
#include "main_window/main_window.h"
#include "platform/base/text.h"

namespace zoriza {

namespace {

constexpr wchar_t kBlankLine[] = L"\r\n\r\n";

std::wstring Widen(const char* text) {
    std::wstring wide;
    for (const char* p = text; *p != '\0'; ++p) wide += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return wide;
}

}  // namespace

void Form1::Run(FormEvent event) {
    switch (event) {
        case FormEvent::Load: Form_Load(); break;
        case FormEvent::LangClick: Lang_Click(); break;
        case FormEvent::DriveChange: Drive1_Change(); break;
        case FormEvent::SearchClick: Search_Click(); break;
        case FormEvent::IntroClick: Intro_Click(); break;
    }
}

bool Form1::Dispatch(FormEvent event) {
    try {
        Run(event);
        return true;
    } catch (const AppError& error) {
        ReportError(error);
    } catch (const std::bad_alloc&) {
        ReportError(AppError(kOutOfMemory, L"Out of memory"));
    } catch (const std::exception& error) {
        ReportError(AppError(kInternalError, Widen(error.what())));
    }
    return false;
}

std::wstring ErrorReportText(const AppError& error) {
    std::wstring text;
    if (!error.Context().empty()) text = error.Context() + kBlankLine;
    return text + L"Error " + DecimalText(error.Number()) + L": " + error.Description();
}

void Form1::ReportError(const AppError& error) {
    c_.form.ShowMessage(ErrorReportText(error), kApplicationTitle, MessageIcon::Error);
}

}  // namespace zoriza
