#include "tools/demo/demo_output.h"

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <exception>
#include <optional>
#include <utility>

#include "tests/e2e/e2e_support.h"

namespace zoriza::demo {

namespace {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::optional<ULONGLONG> WriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
}

std::wstring ShowCommandName(DWORD showCommand) {
    switch (showCommand) {
        case SW_SHOWNORMAL: return L"normal";
        case SW_SHOWMAXIMIZED: return L"maximised";
        case SW_SHOWMINNOACTIVE: return L"minimised";
        default: return L"show command " + std::to_wstring(showCommand);
    }
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring TypeName(DWORD type) {
    switch (type) {
        case REG_SZ: return L"REG_SZ";
        case REG_EXPAND_SZ: return L"REG_EXPAND_SZ";
        case REG_DWORD: return L"REG_DWORD";
        case REG_BINARY: return L"REG_BINARY";
        default: return L"type " + std::to_wstring(type);
    }
}

}  // namespace

void PrepareOutput() {
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
}

void PrintLine(const std::wstring& text) {
    const std::string line = Utf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

void PrintIndented(const std::wstring& text, const std::wstring& indent) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        PrintLine(indent + text.substr(start, end - start));
        start = end + 2;
    }
}

LinkTimes UserLinks() {
    LinkTimes links;
    for (const std::wstring& folder : {e2e::DesktopFolder(), e2e::ProgramsFolder()}) {
        for (const std::wstring& link : e2e::LinksUnder(folder)) {
            const std::wstring path = folder + L"\\" + link;
            links[path] = WriteTime(path).value_or(0);
        }
    }
    return links;
}

std::vector<std::wstring> WrittenSince(const LinkTimes& before, const LinkTimes& after) {
    std::vector<std::pair<ULONGLONG, std::wstring>> timed;
    for (const auto& [path, time] : after) {
        const auto earlier = before.find(path);
        if (earlier == before.end() || earlier->second != time) timed.emplace_back(time, path);
    }
    std::sort(timed.begin(), timed.end());
    std::vector<std::wstring> written;
    for (const auto& [time, path] : timed) written.push_back(path);
    return written;
}

std::wstring PrintLink(const std::wstring& path) {
    PrintLine(L"  " + path);
    try {
        const e2e::LinkFields link = e2e::ReadLink(path);
        PrintLine(L"      target         " + link.target);
        PrintLine(L"      arguments      " + (link.arguments.empty() ? L"(none)" : link.arguments));
        PrintLine(L"      working folder " + link.workingDirectory);
        PrintLine(L"      icon           " + link.iconLocation + L"," + std::to_wstring(link.iconIndex));
        PrintLine(L"      window         " + ShowCommandName(link.showCommand));
        return link.target;
    } catch (const std::exception& error) {
        PrintLine(L"      does not load: " + std::wstring(error.what(), error.what() + std::strlen(error.what())));
        return {};
    }
}

int PrintSettings() {
    PrintLine(std::wstring(L"Settings saved under HKEY_CURRENT_USER\\") + e2e::kSettingsKey + L":");
    int saved = 0;
    for (const wchar_t* name : e2e::kSettingNames) {
        const auto value = e2e::Stored(name);
        std::wstring line = L"  " + std::wstring(name) + std::wstring(12 - wcslen(name), L' ');
        if (value) {
            line += Quoted(value->Text()) + L"  (" + TypeName(value->type) + L")";
            ++saved;
        } else {
            line += L"(not saved)";
        }
        PrintLine(line);
    }
    return saved;
}

}  // namespace zoriza::demo
