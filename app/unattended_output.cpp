#include "app/unattended_output.h"

#include "platform/base/text.h"
#include "platform/win32/win32_error.h"

namespace zoriza {

namespace {

// One line, whatever the text holds: a system message may carry line breaks.
std::wstring OneLine(const std::wstring& text) {
    std::wstring line = text;
    for (wchar_t& c : line) {
        if (c == L'\r' || c == L'\n') c = L' ';
    }
    line.append(L"\r\n");
    return line;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    if (length <= 0) return {};
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                        nullptr);
    return bytes;
}

// A line that cannot be written (a pipe closed by its reader, a full disk) is
// lost: there is nowhere left to report it, and the run goes on to its exit code.
void WriteBytes(HANDLE handle, const std::string& bytes) {
    DWORD written = 0;
    static_cast<void>(WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

// `value` as `width` decimal digits at `at`, with leading zeros.
void PutDigits(wchar_t* at, unsigned value, int width) {
    for (int i = width - 1; i >= 0; --i) {
        at[i] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    }
}

// "2024-03-01 08:00:05 PC01\ana: "ZORIZA.exe" /create"
std::wstring RunHeader() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t stamp[] = L"0000-00-00 00:00:00 ";
    PutDigits(stamp, now.wYear, 4);
    PutDigits(stamp + 5, now.wMonth, 2);
    PutDigits(stamp + 8, now.wDay, 2);
    PutDigits(stamp + 11, now.wHour, 2);
    PutDigits(stamp + 14, now.wMinute, 2);
    PutDigits(stamp + 17, now.wSecond, 2);
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD computerLength = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(computer, &computerLength)) computer[0] = L'\0';
    wchar_t user[257] = {};  // a user name is at most 256 characters
    DWORD userLength = 257;
    if (!GetUserNameW(user, &userLength)) user[0] = L'\0';
    return Joined({stamp, computer, L"\\", user, L": ", GetCommandLineW()});
}

}  // namespace

StandardOutput::StandardOutput() : handle_(GetStdHandle(STD_OUTPUT_HANDLE)) {
    if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) {
        handle_ = nullptr;
        if (AttachConsole(ATTACH_PARENT_PROCESS)) {
            console_.reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
            if (console_) handle_ = console_.get();
        }
    }
    DWORD mode = 0;
    isConsole_ = handle_ != nullptr && GetConsoleMode(handle_, &mode);
}

void StandardOutput::Line(const std::wstring& text) {
    if (handle_ == nullptr) return;
    const std::wstring line = OneLine(text);
    if (!isConsole_) return WriteBytes(handle_, Utf8(line));
    DWORD written = 0;
    // As with a file: a line the console does not take is lost.
    static_cast<void>(WriteConsoleW(handle_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr));
}

LogFile::LogFile(const std::wstring& path) : path_(path) {
    file_ = requests_.Ask<std::shared_ptr<UniqueFile>>(path, [path] {
        auto file = std::make_shared<UniqueFile>(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                                             FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!*file) throw FileError(GetLastError());
        return file;
    });
    Line(RunHeader());
}

void LogFile::Line(const std::wstring& text) {
    try {
        requests_.Run(path_, [file = file_, bytes = Utf8(OneLine(text))] { WriteBytes(file->get(), bytes); });
    } catch (const AppError&) {
        // late, or its share still holds an earlier line: lost, as a line the file does not take
    }
}

}  // namespace zoriza
