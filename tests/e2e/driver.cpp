#include "tests/e2e/driver.h"

// Before oleacc.h, or IID_IAccessible is not defined here.
#include <initguid.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

namespace zoriza::e2e {

namespace {

constexpr wchar_t kWindowClass[] = L"ZORIZA.Form1";
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kMessageTextId = 0xFFFF;

std::wstring WindowText(HWND window) {
    wchar_t text[2048] = {};
    GetWindowTextW(window, text, 2048);
    return text;
}

// The current environment with `changes` applied, as a CreateProcess block.
std::wstring EnvironmentBlock(const std::map<std::wstring, std::optional<std::wstring>>& changes) {
    std::map<std::wstring, std::wstring> variables;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
        const std::wstring text = entry;
        const std::size_t equals = text.find(L'=', 1);
        if (equals != std::wstring::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    FreeEnvironmentStringsW(strings);
    for (const auto& [name, value] : changes) {
        if (value) {
            variables[name] = *value;
        } else {
            variables.erase(name);
        }
    }
    std::wstring block;
    for (const auto& [name, value] : variables) block += name + L"=" + value + L'\0';
    return block + L'\0';
}

// The program's output decoded as PowerShell, cmd's pipes and findstr decode
// it: in the console's output code page, or the OEM code page without a
// console. Run by CTest the driver has none (its console code page reads 0),
// so the OEM code page of the run's locale decodes: 437 in C.UTF-8, 850 in ca_ES.
std::wstring AsReadersDecode(const std::string& bytes) {
    if (bytes.empty()) return {};
    const UINT console = GetConsoleOutputCP();
    const UINT codePage = console != 0 ? console : GetOEMCP();
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), length);
    return text;
}

double NowMs() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (owner == search->processId && IsWindowVisible(window) && wcscmp(className, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className) {
    WindowSearch search{processId, className, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK FindIcon(HWND child, LPARAM parameter) {
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    const bool picture = (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    if (_wcsicmp(className, L"Static") == 0 && picture && IsWindowVisible(child) &&
        SendMessageW(child, STM_GETICON, 0, 0) != 0) {
        *reinterpret_cast<bool*>(parameter) = true;
        return FALSE;
    }
    return TRUE;
}

// The message boxes here show either no icon or the error icon.
bool ShowsIcon(HWND box) {
    bool found = false;
    EnumChildWindows(box, &FindIcon, reinterpret_cast<LPARAM>(&found));
    return found;
}

// CreateProcessW, tried again when the new process was lost while it
// started. Where i386 code is emulated (qemu-user through binfmt_misc), Wine
// now and then loses a 32-bit process before any of its own code has run,
// and CreateProcessW then answers ERROR_INTERNAL_ERROR; the next try starts
// it. Any other failure, and the third of these, throws.
PROCESS_INFORMATION StartProcess(std::wstring commandLine, bool inherit, DWORD flags, void* environment,
                                 const std::wstring& folder, STARTUPINFOW& startup) {
    PROCESS_INFORMATION started{};
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, inherit, flags, environment, folder.c_str(),
                           &startup, &started)) {
            return started;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == 3) {
            throw std::runtime_error("the program did not start: CreateProcessW error " + std::to_string(error));
        }
        std::fprintf(stderr, "the program was lost while it started (error %lu); starting it again\n", error);
        Sleep(200);
    }
}

}  // namespace

BOOL CALLBACK MatchAnyWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

bool ShowsAnyWindow(DWORD processId) {
    WindowSearch search{processId, nullptr, nullptr};
    EnumWindows(&MatchAnyWindow, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
}

std::wstring EnvironmentValue(const wchar_t* name) {
    wchar_t value[32768] = {};
    return GetEnvironmentVariableW(name, value, 32768) ? value : L"";
}

bool As32BitProgramOn64BitWindows() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

bool On32BitWindows() { return sizeof(void*) == 4 && !As32BitProgramOn64BitWindows(); }

std::wstring ProgramPath() {
    std::wstring path = EnvironmentValue(L"ZORIZA_EXE");
    if (path.empty()) throw std::runtime_error("ZORIZA_EXE is not set");
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

RunningProgram::RunningProgram(const StartOptions& options) {
    std::wstring commandLine = L"\"" + ProgramPath() + L"\"";
    std::wstring environment = EnvironmentBlock(options.environment);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    process_ = UniqueProcess(StartProcess(std::move(commandLine), false, CREATE_UNICODE_ENVIRONMENT,
                                          environment.data(), options.currentFolder, startup));
    WaitUntil([this] {
        window_ = FindProcessWindow(process_.id, kWindowClass);
        return window_ != nullptr || WaitForSingleObject(process_.process.get(), 0) == WAIT_OBJECT_0;
    }, 20s);
}

RunningProgram::~RunningProgram() {
    if (process_.process && WaitForSingleObject(process_.process.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.process.get(), 1);
        WaitForSingleObject(process_.process.get(), 5000);
    }
}

bool RunningProgram::WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

std::wstring RunningProgram::Text(ControlId id) const { return WindowText(Control(id)); }

std::wstring RunningProgram::AccessibleName(ControlId id) const {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(Control(id), static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object)))) {
        return {};
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT result = object->get_accName(self, &name);
    object->Release();
    if (result != S_OK || name == nullptr) return {};
    std::wstring text(name, SysStringLen(name));
    SysFreeString(name);
    return text;
}

std::wstring RunningProgram::Caption() const { return WindowText(window_); }

int RunningProgram::ListIndex(ControlId id) const {
    const UINT message = id == ControlId::Drive1 ? CB_GETCURSEL : LB_GETCURSEL;
    return static_cast<int>(SendMessageW(Control(id), message, 0, 0));
}

int RunningProgram::ListCount(ControlId id) const {
    const UINT message = id == ControlId::Drive1 ? CB_GETCOUNT : LB_GETCOUNT;
    return static_cast<int>(SendMessageW(Control(id), message, 0, 0));
}

std::wstring RunningProgram::ListText(ControlId id, int index) const {
    wchar_t text[1024] = {};
    const UINT message = id == ControlId::Drive1 ? CB_GETLBTEXT : LB_GETTEXT;
    SendMessageW(Control(id), message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

bool RunningProgram::Checked(ControlId id) const { return CheckState(id) == BST_CHECKED; }

int RunningProgram::CheckState(ControlId id) const {
    return static_cast<int>(SendMessageW(Control(id), BM_GETCHECK, 0, 0));
}

bool RunningProgram::Enabled(ControlId id) const { return IsWindowEnabled(Control(id)) != FALSE; }

HWND RunningProgram::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(process_.threadId, &info);
    return info.hwndFocus;
}

void RunningProgram::SelectListEntry(ControlId id, int index) {
    SendMessageW(Control(id), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(static_cast<UINT>(id), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Control(id)));
}

void RunningProgram::ChooseDrive(wchar_t letter) {
    const HWND combo = Control(ControlId::Drive1);
    for (int i = 0; i < ListCount(ControlId::Drive1); ++i) {
        if (towlower(ListText(ControlId::Drive1, i)[0]) == towlower(letter)) {
            SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            PostMessageW(window_, WM_COMMAND, MAKEWPARAM(static_cast<UINT>(ControlId::Drive1), CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(combo));
            return;
        }
    }
    throw std::runtime_error("no such drive in the list");
}

void RunningProgram::OpenFolder(const std::wstring& name) {
    for (int i = 0; i < ListCount(ControlId::Dir1); ++i) {
        const std::wstring entry = ListText(ControlId::Dir1, i);
        if (entry.size() >= name.size() && entry.compare(entry.size() - name.size(), name.size(), name) == 0) {
            SendMessageW(Control(ControlId::Dir1), LB_SETCURSEL, static_cast<WPARAM>(i), 0);
            SendMessageW(window_, WM_COMMAND, MAKEWPARAM(static_cast<UINT>(ControlId::Dir1), LBN_DBLCLK),
                         reinterpret_cast<LPARAM>(Control(ControlId::Dir1)));
            return;
        }
    }
    throw std::runtime_error("no such folder in the folder list");
}

bool RunningProgram::MoveToServerFolder(wchar_t drive, const std::wstring& folder) {
    const std::wstring root = {static_cast<wchar_t>(towupper(drive)), L':', L'\\'};
    ChooseDrive(drive);
    if (!WaitUntil([&] { return ListText(ControlId::Dir1, 0) == root; })) return false;
    OpenFolder(folder);
    return WaitUntil([&] {
        const std::wstring selected = ListText(ControlId::Dir1, ListIndex(ControlId::Dir1));
        return selected.size() >= folder.size() && selected.compare(selected.size() - folder.size(), folder.size(), folder) == 0;
    });
}

void RunningProgram::Click(ControlId id) { PostMessageW(Control(id), BM_CLICK, 0, 0); }

void RunningProgram::PressKey(ControlId target, WPARAM virtualKey) {
    PostMessageW(Control(target), WM_KEYDOWN, virtualKey, 1);
    PostMessageW(Control(target), WM_KEYUP, virtualKey, 0xC0000001);
}

void RunningProgram::CloseWindow() { PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0); }

void RunningProgram::ClickCloseBox() {
    RECT frame{};
    GetWindowRect(window_, &frame);
    const int inset = GetSystemMetrics(SM_CXSIZE) / 2 + GetSystemMetrics(SM_CXFRAME);
    const LPARAM closeBox = MAKELPARAM(frame.right - inset, frame.top + GetSystemMetrics(SM_CYFRAME) + 4);
    PostMessageW(window_, WM_NCLBUTTONDOWN, HTCLOSE, closeBox);
    PostMessageW(window_, WM_NCLBUTTONUP, HTCLOSE, closeBox);
}

HWND RunningProgram::FindMessageBox() const { return FindProcessWindow(process_.id, kDialogClass); }

std::optional<MessageBoxSeen> RunningProgram::WaitForMessageBox(std::chrono::milliseconds timeout) {
    if (!WaitUntil([this] { return (messageBox_ = FindMessageBox()) != nullptr; }, timeout)) return std::nullopt;
    MessageBoxSeen seen{WindowText(messageBox_), {}, false};
    WaitUntil([&] { return !(seen.text = WindowText(GetDlgItem(messageBox_, kMessageTextId))).empty(); }, 2s);
    seen.errorIcon = ShowsIcon(messageBox_);
    return seen;
}

void RunningProgram::CloseMessageBox() {
    const HWND box = messageBox_ != nullptr ? messageBox_ : FindMessageBox();
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5s);
    messageBox_ = nullptr;
}

std::optional<MessageBoxSeen> RunningProgram::ClickAndReadMessage(ControlId id, std::chrono::milliseconds timeout) {
    Click(id);
    const auto box = WaitForMessageBox(timeout);
    if (box) CloseMessageBox();
    return box;
}

bool RunningProgram::WaitForExit(std::chrono::milliseconds timeout) {
    return WaitForSingleObject(process_.process.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD RunningProgram::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.process.get(), &code);
    return code;
}

std::vector<std::wstring> FinishedRun::Lines() const {
    std::vector<std::wstring> lines;
    std::size_t begin = 0;
    while (begin < output.size()) {
        std::size_t end = output.find(L"\r\n", begin);
        if (end == std::wstring::npos) end = output.size();
        lines.push_back(output.substr(begin, end - begin));
        begin = end + 2;
    }
    return lines;
}

// Reads what the pipe holds now, without waiting for more.
void Drain(HANDLE pipe, std::string& bytes) {
    DWORD available = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        char buffer[4096];
        DWORD read = 0;
        if (!ReadFile(pipe, buffer, std::min<DWORD>(available, sizeof(buffer)), &read, nullptr) || read == 0) return;
        bytes.append(buffer, read);
    }
}

DWORD ExitCodeWithin(const UniqueProcess& process, std::chrono::milliseconds timeout) {
    if (WaitForSingleObject(process.process.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        TerminateProcess(process.process.get(), 1);
        WaitForSingleObject(process.process.get(), 5000);
        return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.process.get(), &code);
    return code;
}

FinishedRun RunToEnd(const std::wstring& program, const std::wstring& arguments, const std::wstring& currentFolder,
                     bool watchWindows, std::chrono::milliseconds timeout) {
    SimultaneousRuns run(program, arguments, 1, currentFolder);
    run.Release();
    return run.Finish(watchWindows, timeout).front();
}

SimultaneousRuns::SimultaneousRuns(const std::wstring& program, const std::wstring& arguments, int count,
                                   const std::wstring& currentFolder) {
    runs_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) Start(L"\"" + program + L"\" " + arguments, currentFolder);
}

// Each run gets a pipe of its own; the write end is closed here as soon as the
// run holds its copy, so that no later run inherits it.
void SimultaneousRuns::Start(const std::wstring& commandLine, const std::wstring& currentFolder) {
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    Run& run = runs_.emplace_back();
    UniqueHandle writer;
    if (!CreatePipe(run.output.put(), writer.put(), &inheritable, 0) ||
        !SetHandleInformation(run.output.get(), HANDLE_FLAG_INHERIT, 0)) {
        throw std::runtime_error("no pipe for the program's output");
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writer.get();
    startup.hStdError = writer.get();
    run.process = UniqueProcess(StartProcess(commandLine, true, CREATE_SUSPENDED, nullptr, currentFolder, startup));
}

SimultaneousRuns::~SimultaneousRuns() {
    for (Run& run : runs_) {
        if (run.process.process && WaitForSingleObject(run.process.process.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(run.process.process.get(), 1);
            WaitForSingleObject(run.process.process.get(), 5000);
        }
    }
}

void SimultaneousRuns::Release() {
    releasedAt_ = NowMs();
    for (Run& run : runs_) ResumeThread(run.process.thread.get());
}

// The output is read while a run goes, so that a full pipe never holds
// it up, and not until the pipe's end: a process the program leads the system
// to start (Wine's desktop, say) may hold a copy of the pipe for long after.
std::vector<FinishedRun> SimultaneousRuns::Finish(bool watchWindows, std::chrono::milliseconds timeout) {
    const double deadline = releasedAt_ + static_cast<double>(timeout.count());
    for (int look = 0, running = static_cast<int>(runs_.size()); running > 0; ++look) {
        Sleep(1);
        running = 0;
        for (Run& run : runs_) {
            if (run.ended) continue;
            Drain(run.output.get(), run.bytes);
            if (WaitForSingleObject(run.process.process.get(), 0) == WAIT_OBJECT_0) {
                run.ended = true;
                run.result.milliseconds = NowMs() - releasedAt_;
                GetExitCodeProcess(run.process.process.get(), &run.result.exitCode);
                continue;
            }
            ++running;
            if (watchWindows && look % 5 == 0 && ShowsAnyWindow(run.process.id)) run.result.windowSeen = true;
            if (NowMs() > deadline) {
                TerminateProcess(run.process.process.get(), 1);
                WaitForSingleObject(run.process.process.get(), 5000);
            }
        }
    }
    std::vector<FinishedRun> finished;
    for (Run& run : runs_) {
        Drain(run.output.get(), run.bytes);
        run.result.output = AsReadersDecode(run.bytes);
        finished.push_back(run.result);
    }
    return finished;
}

}  // namespace zoriza::e2e
