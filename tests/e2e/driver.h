// Drives the real ZORIZA.exe from another process in the same Wine prefix:
// starts it with a chosen environment and folder, finds its window and
// controls, acts as a user would, and reads and closes its message boxes.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "main_window/layout.h"
#include "platform/win32/unique_handle.h"

namespace zoriza::e2e {

using namespace std::chrono_literals;

struct StartOptions {
    std::wstring currentFolder = L"C:\\";
    // Variables to set (a value) or remove (no value) in the program's environment.
    std::map<std::wstring, std::optional<std::wstring>> environment;
};

struct MessageBoxSeen {
    std::wstring title;
    std::wstring text;
    bool errorIcon = false;
};

class RunningProgram {
public:
    explicit RunningProgram(const StartOptions& options = {});
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // The main window once it is shown; empty when the program ended first.
    HWND Window() const { return window_; }
    HWND Control(ControlId id) const { return GetDlgItem(window_, static_cast<int>(id)); }

    std::wstring Text(ControlId id) const;
    // The name a screen reader reads for the control: its client area's
    // accessible object, asked across processes; empty when it has none.
    std::wstring AccessibleName(ControlId id) const;
    std::wstring Caption() const;
    int ListIndex(ControlId id) const;
    std::wstring ListText(ControlId id, int index) const;
    int ListCount(ControlId id) const;
    bool Checked(ControlId id) const;
    int CheckState(ControlId id) const;
    bool Enabled(ControlId id) const;
    HWND Focus() const;

    // A user's selection in a list box; returns when its handler has run.
    void SelectListEntry(ControlId id, int index);
    // A user's choice in the drive list; posted, since it may open an error box.
    void ChooseDrive(wchar_t letter);
    // Double-clicks the folder list entry whose text ends in `name`.
    void OpenFolder(const std::wstring& name);
    // Chooses `drive` in the drive list, then opens `folder` below its root;
    // false when the lists did not get there.
    bool MoveToServerFolder(wchar_t drive, const std::wstring& folder);
    void Click(ControlId id);
    void PressKey(ControlId target, WPARAM virtualKey);
    void CloseWindow();
    // A mouse click on the caption's close box, as the mouse sends it.
    void ClickCloseBox();

    // The program's next message box, or none within the time allowed.
    std::optional<MessageBoxSeen> WaitForMessageBox(std::chrono::milliseconds timeout = 10s);
    void CloseMessageBox();
    // Clicks `id`, then reads and closes the message box that follows.
    std::optional<MessageBoxSeen> ClickAndReadMessage(ControlId id, std::chrono::milliseconds timeout = 20s);
    // Waits until `condition` holds, polling.
    bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s) const;

    bool WaitForExit(std::chrono::milliseconds timeout = 10s);
    DWORD ExitCode() const;
    DWORD ProcessId() const { return process_.id; }

private:
    HWND FindMessageBox() const;

    UniqueProcess process_;
    HWND window_ = nullptr;
    HWND messageBox_ = nullptr;
};

// A program run to its end without a window: its exit code, what it wrote to
// its standard output (a pipe, read as its readers decode it), how long it
// took from its start to its end, and whether a window of it was seen
// meanwhile.
struct FinishedRun {
    DWORD exitCode = STILL_ACTIVE;
    std::wstring output;
    double milliseconds = 0;
    bool windowSeen = false;
    // The output's lines, without their CR LF.
    std::vector<std::wstring> Lines() const;
};

// The exit code of a process started elsewhere, once it has ended; one still
// running after `timeout` is ended, and answers STILL_ACTIVE.
DWORD ExitCodeWithin(const UniqueProcess& process, std::chrono::milliseconds timeout);

// Runs `program` with `arguments` in `currentFolder`, ended after `timeout`.
// With `watchWindows` it looks for a visible window of the process every few
// milliseconds while it runs.
FinishedRun RunToEnd(const std::wstring& program, const std::wstring& arguments,
                     const std::wstring& currentFolder = L"C:\\", bool watchWindows = true,
                     std::chrono::milliseconds timeout = 60s);

// `count` runs of `program` with the same `arguments`, each created suspended
// so that all set off at one moment when released. Whatever still runs when
// the object goes is ended.
class SimultaneousRuns {
public:
    SimultaneousRuns(const std::wstring& program, const std::wstring& arguments, int count,
                     const std::wstring& currentFolder = L"C:\\");
    ~SimultaneousRuns();
    SimultaneousRuns(const SimultaneousRuns&) = delete;
    SimultaneousRuns& operator=(const SimultaneousRuns&) = delete;

    void Release();
    // Each run as RunToEnd tells it, in the order they were created; the time
    // is counted from the release, and runs past `timeout` are ended.
    std::vector<FinishedRun> Finish(bool watchWindows = true, std::chrono::milliseconds timeout = 60s);

private:
    struct Run {
        UniqueProcess process;
        UniqueHandle output;
        std::string bytes;
        bool ended = false;
        FinishedRun result;
    };
    void Start(const std::wstring& commandLine, const std::wstring& currentFolder);

    std::vector<Run> runs_;
    double releasedAt_ = 0;
};

// The path of ZORIZA.exe, from ZORIZA_EXE.
std::wstring ProgramPath();
std::wstring EnvironmentValue(const wchar_t* name);

// The Windows the program runs on. The tests are built for the same processor
// as the ZORIZA.exe they start, so what the driver sees the program sees.
// A 32-bit Windows: no 64-bit programs, and 16-bit ones still run.
bool On32BitWindows();
// A 32-bit program on 64-bit Windows, which sets its "ProgramFiles" from "ProgramFiles(x86)".
bool As32BitProgramOn64BitWindows();

}  // namespace zoriza::e2e
