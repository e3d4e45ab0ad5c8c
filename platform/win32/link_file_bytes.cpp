#include "platform/win32/link_file_bytes.h"

#include <algorithm>
#include <iterator>

#include "platform/base/text.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_error.h"

namespace zoriza {

namespace {

// Another run, or the Shell reading the shortcut, may have the old file open
// for a moment.
constexpr ULONGLONG kReplaceRetryMs = 2000;
constexpr DWORD kReplacePauseMs = 20;

constexpr LONGLONG kLargestShortcut = 1 << 20;

// The last `digits` hexadecimal digits of `number`.
void AppendHex(std::wstring& text, std::uint32_t number, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) text += L"0123456789abcdef"[(number >> shift) & 0xF];
}

constexpr wchar_t kTemporaryMark[] = L".zoriza-";
constexpr int kProcessDigits = 8;
constexpr int kCallDigits = 4;

// A write under way lasts at most two bounds of a server request; a file
// older than this is no run's any more.
constexpr ULONGLONG kStaleAfter100ns = 60ULL * 10'000'000ULL;

bool IsHex(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); }

// "<name>.lnk.zoriza-" and the hexadecimal digits TemporaryPathFor gives.
bool IsTemporaryName(const std::wstring& name) {
    const std::wstring mark = std::wstring(L".lnk") + kTemporaryMark;
    const std::size_t digits = kProcessDigits + kCallDigits;
    if (name.size() <= mark.size() + digits) return false;
    const std::size_t markAt = name.size() - digits - mark.size();
    if (AsciiUpper(name.substr(markAt, mark.size())) != AsciiUpper(mark)) return false;
    return std::all_of(name.end() - static_cast<std::ptrdiff_t>(digits), name.end(), IsHex);
}

ULONGLONG Ticks(const FILETIME& time) { return ULARGE_INTEGER{{time.dwLowDateTime, time.dwHighDateTime}}.QuadPart; }

}  // namespace

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

void RemoveStaleTemporaryFiles(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = folder + L"\\*" + kTemporaryMark + L"*";
    const UniqueFindHandle search(
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!search) return;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    do {
        const bool stale = Ticks(now) > Ticks(found.ftLastWriteTime) + kStaleAfter100ns;  // a clock ahead keeps it
        if (stale && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsTemporaryName(found.cFileName)) {
            DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        }
    } while (FindNextFileW(search.get(), &found));
}

std::wstring TemporaryPathFor(const std::wstring& linkPath, std::uint32_t call) {
    std::wstring path = linkPath + kTemporaryMark;
    AppendHex(path, GetCurrentProcessId(), kProcessDigits);
    AppendHex(path, call, kCallDigits);
    return path.size() < MAX_PATH ? path : ExtendedLengthPath(path);
}

std::wstring ExtendedLengthPath(const std::wstring& path) {
    if (path.rfind(LR"(\\?\)", 0) == 0) return path;
    if (path.rfind(LR"(\\)", 0) == 0) return LR"(\\?\UNC\)" + path.substr(2);
    return LR"(\\?\)" + path;
}

void MoveOver(const std::wstring& temporary, const std::wstring& linkPath) {
    const ULONGLONG giveUp = GetTickCount64() + kReplaceRetryMs;
    while (!MoveFileExW(temporary.c_str(), linkPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        if ((code != ERROR_SHARING_VIOLATION && code != ERROR_ACCESS_DENIED) || GetTickCount64() >= giveUp) {
            throw ComError(HRESULT_FROM_WIN32(code));
        }
        Sleep(kReplacePauseMs);
    }
}

void WriteThrough(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
    if (!file) throw ComError(HRESULT_FROM_WIN32(GetLastError()));
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !FlushFileBuffers(file.get())) {
        throw ComError(HRESULT_FROM_WIN32(GetLastError()));
    }
}

std::vector<std::uint8_t> ReadShortcutFile(const std::wstring& path) {
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestShortcut) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()) {
        return {};
    }
    return bytes;
}

}  // namespace zoriza
