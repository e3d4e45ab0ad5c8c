#include "app/unattended_output.h"

#include <shlobj.h>
#include <ntsecapi.h>

#include <utility>

#include "app/version.h"
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

// `text` in `codePage`; a character the code page lacks becomes "?", never a
// look-alike (an o with a double acute must not pass for a plain o). UTF-8
// and a few other code pages refuse these flags: they then go without.
std::string Encoded(const std::wstring& text, UINT codePage) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* replacement = flags != 0 ? "?" : nullptr;
    int length = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, replacement, nullptr);
    if (length <= 0 && flags != 0) {
        flags = 0;
        replacement = nullptr;
        length = WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, replacement, nullptr);
    }
    if (length <= 0) return {};
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), size, bytes.data(), length, replacement, nullptr);
    return bytes;
}

// What a reader of a pipe or a redirected file decodes with: PowerShell, cmd
// and findstr take the console's output code page, and the OEM code page
// when there is no console. A GUI program is attached to its parent's console
// only when it asks, except where it already is (Wine attaches it at its
// start): the request then answers ERROR_ACCESS_DENIED.
UINT ReadersCodePage() {
    const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED;
    const UINT console = attached ? GetConsoleOutputCP() : 0;
    return console != 0 ? console : GetOEMCP();
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

// Where the fields of a local time go in a stamp.
struct StampLayout {
    const wchar_t* blank;
    int year, month, day, hour, minute, second;
};
constexpr StampLayout kHeaderStamp{L"0000-00-00 00:00:00", 0, 5, 8, 11, 14, 17};
constexpr StampLayout kFileNameStamp{L"00000000-000000", 0, 4, 6, 9, 11, 13};

std::wstring Stamp(const StampLayout& layout) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    std::wstring text = layout.blank;
    PutDigits(&text[layout.year], now.wYear, 4);
    PutDigits(&text[layout.month], now.wMonth, 2);
    PutDigits(&text[layout.day], now.wDay, 2);
    PutDigits(&text[layout.hour], now.wHour, 2);
    PutDigits(&text[layout.minute], now.wMinute, 2);
    PutDigits(&text[layout.second], now.wSecond, 2);
    return text;
}

// "ZORIZA 1.00: 2024-03-01 08:00:05 PC01\ana: "ZORIZA.exe" /create"
std::wstring RunHeader() {
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD computerLength = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(computer, &computerLength)) computer[0] = L'\0';
    wchar_t user[257] = {};  // a user name is at most 256 characters
    DWORD userLength = 257;
    if (!GetUserNameW(user, &userLength)) user[0] = L'\0';
    return Joined({L"" ZORIZA_PRODUCT_NAME " " ZORIZA_VERSION_TEXT ": ", Stamp(kHeaderStamp), L" ", computer, L"\\",
                   user, L": ", GetCommandLineW()});
}

std::wstring TemporaryFolder() {
    const DWORD size = GetTempPathW(0, nullptr);
    std::wstring folder(size, L'\0');
    const DWORD length = size == 0 ? 0 : GetTempPathW(size, folder.data());
    if (length == 0 || length >= size) throw FileError(GetLastError());
    folder.resize(length);
    return folder;
}

// Intune's diagnostics collect this folder, and a device's administrators
// know it. It lies under ProgramData\Microsoft, where only administrators and
// SYSTEM may make folders, so nobody else can have made it first; a folder
// made here takes that folder's permissions.
std::wstring MachineLogFolder() {
    UniqueCoTaskString programData;
    const HRESULT result = SHGetKnownFolderPath(FOLDERID_ProgramData, KF_FLAG_DEFAULT, nullptr, programData.put());
    if (FAILED(result)) throw FileError(static_cast<DWORD>(HRESULT_CODE(result)));
    std::wstring folder = programData.get();
    for (const wchar_t* level : {L"\\Microsoft", L"\\IntuneManagementExtension", L"\\Logs"}) {
        folder += level;
        if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            throw FileError(GetLastError());
        }
    }
    return folder + L"\\";
}

// 64 bits from the system's random number generator, as 16 hex digits.
std::wstring RandomHex() {
    unsigned char bytes[8] = {};
    if (!RtlGenRandom(bytes, sizeof(bytes))) throw FileError(ERROR_GEN_FAILURE);
    std::wstring hex;
    for (const unsigned char byte : bytes) {
        hex += L"0123456789abcdef"[byte >> 4];
        hex += L"0123456789abcdef"[byte & 0xF];
    }
    return hex;
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
    if (handle_ != nullptr && !isConsole_) codePage_ = ReadersCodePage();
}

void StandardOutput::Line(const std::wstring& text) {
    if (handle_ == nullptr) return;
    const std::wstring line = OneLine(text);
    if (!isConsole_) return WriteBytes(handle_, Encoded(line, codePage_));
    DWORD written = 0;
    // As with a file: a line the console does not take is lost.
    static_cast<void>(WriteConsoleW(handle_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr));
}

LogFile::LogFile(const std::wstring& path, LogOpening opening) : path_(path) {
    const bool isNew = opening == LogOpening::New;
    const DWORD disposition = isNew ? CREATE_NEW : OPEN_ALWAYS;
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (isNew ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    const DWORD sharing = isNew ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
    file_ = requests_.Ask<std::shared_ptr<UniqueFile>>(path, [path, disposition, flags, sharing] {
        auto file = std::make_shared<UniqueFile>(
            CreateFileW(path.c_str(), FILE_APPEND_DATA, sharing, nullptr, disposition, flags, nullptr));
        if (!*file) throw FileError(GetLastError());
        return file;
    });
    Line(RunHeader());
}

void LogFile::Line(const std::wstring& text) {
    try {
        std::string bytes = Encoded(OneLine(text), CP_UTF8);
        requests_.Change<bool>(path_, [file = file_, bytes = std::move(bytes)](CommitPoint& commit) {
            if (commit.Pass()) WriteBytes(file->get(), bytes);
            return true;
        });
    } catch (const AppError&) {
        // late, or its share still holds an earlier line: lost, as a line the file does not take
    }
}

std::wstring OwnLogPath(std::wstring_view command, bool forTheMachine) {
    const std::wstring folder = forTheMachine ? MachineLogFolder() : TemporaryFolder();
    return Joined({folder, L"ZORIZA-", command, L"-", Stamp(kFileNameStamp), L"-", RandomHex(), L".log"});
}

}  // namespace zoriza
