// Measures builds of ZORIZA.exe side by side with the floor programs built
// by the same toolchain, in the Wine prefix they run in, and prints one line
// per measurement for bench/run.sh:
//
//   sample <measure> <build> <program> <value>
//   info <key> <value>
//
//   zoriza_bench.exe PHASE... --build LABEL ZORIZA_EXE FLOOR_FOLDER [--build ...]
//                    [--runs N] [--warmup N] [--settle MS]
//                    [--variant EXE] [--variant-build LABEL]
//                    [--drives N] [--launcher X] [--not-ready X]
//
// Each --build names a ZORIZA.exe and the folder of its floor programs
// (floor_window.exe, floor_window_dlls.exe, floor_window_controls.exe,
// floor_panel.exe, floor_create.exe); the first is the shipped file. In every
// phase but the stalled one all builds take their turns in the same rounds,
// so that they can be compared with each other as well as with their floors.
//
// Phases:
//   startup  process start to the main window shown and idle, then the
//            process's peak working set and private bytes, for ZORIZA.exe,
//            the empty-window floor, the floor that loads ZORIZA.exe's DLLs
//            and the one that also shows controls like ZORIZA.exe's; and,
//            for reference, what probing the prefix's drives costs. With
//            --variant, another build of ZORIZA.exe takes its turn as well,
//            reported beside the --variant-build build (the first unless
//            named).
//   create   posting the click on CREAR to the report's message box, against
//            the floor that writes the same shortcuts and settings directly
//            (timed inside itself) and a click that only opens a message box.
//   unattended  ZORIZA.exe /create with the same choices as switches, from
//            its process start to its end, against floor_create.exe timed
//            the same way (its own inside time too, for reference).
//   repair   ZORIZA.exe /create again where its first run left every
//            shortcut right, against floor_create.exe writing them again.
//   check    ZORIZA.exe /check where its /create left everything in place,
//            against floor_create.exe writing it all again.
//   scan     posting the click on EXAMINAR until the folder list shows the
//            launcher drive's edition folder, against the floor panel's scan,
//            on the drives linked into the prefix (--drives of them mapped,
//            the launcher on --launcher, --not-ready the drive that fails).
//   stalled  the first build's ZORIZA.exe alone (each run waits for its
//            bound of 3 s), with a:, b:, d: and e: served by stalling
//            servers and the launcher on f:: the scan with 0, 1 (e:) and 4
//            of them stalled, and start-up to idle with the saved folder on
//            e: while it answers and while it stalls.
//
// Each run starts a fresh process of every program; the programs take turns,
// the first of each round moving on by one, and the first --warmup rounds
// are not reported. The end-to-end driver starts the ZORIZA.exe that
// ZORIZA_EXE names, so it is set to each build's in turn.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_support.h"

namespace {

using namespace zoriza;
using namespace zoriza::e2e;

constexpr wchar_t kZorizaClass[] = L"ZORIZA.Form1";
constexpr wchar_t kFloorWindowClass[] = L"BenchFloorWindow";
constexpr wchar_t kFloorPanelClass[] = L"BenchFloorPanel";
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kPanelScanButton = 1;
constexpr int kPanelFolderList = 2;
constexpr int kPanelBoxButton = 3;
constexpr int kMessageTextId = 0xFFFF;
constexpr double kTimeoutMs = 30000;
constexpr wchar_t kServerFolder[] = L"F:\\VekPro";
constexpr wchar_t kCreatedReport[] = L"Creats accessos al servidor F:\\VekPro\\";

double NowMs() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value.QuadPart;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency);
}

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

std::string Narrow(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length > 0 ? length - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

void Sample(const char* measure, const std::string& build, const char* program, double value) {
    std::printf("sample %s %s %s %.4f\n", measure, build.c_str(), program, value);
    std::fflush(stdout);
}

void Info(const std::string& key, const std::string& value) {
    std::printf("info %s %s\n", key.c_str(), value.c_str());
    std::fflush(stdout);
}

struct Program {
    std::string build;
    const char* name;
    std::wstring path;
    const wchar_t* windowClass;

    std::string Who() const { return std::string(name) + " (" + build + ")"; }
};

// One ZORIZA.exe and the floor programs built by its toolchain.
struct Build {
    std::string label;
    Program zoriza;
    Program floor;
    Program floorDlls;
    Program floorControls;
    Program panel;
    std::wstring floorCreate;
};

std::wstring WindowsPath(std::wstring path) {
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

Build MakeBuild(const std::wstring& label, const std::wstring& zoriza, const std::wstring& floorFolder) {
    const std::string name = Narrow(label);
    const std::wstring folder = WindowsPath(floorFolder) + L"\\";
    return Build{name,
                 {name, "zoriza", WindowsPath(zoriza), kZorizaClass},
                 {name, "floor", folder + L"floor_window.exe", kFloorWindowClass},
                 {name, "floor_dlls", folder + L"floor_window_dlls.exe", kFloorWindowClass},
                 {name, "floor_controls", folder + L"floor_window_controls.exe", kFloorWindowClass},
                 {name, "floor_panel", folder + L"floor_panel.exe", kFloorPanelClass},
                 folder + L"floor_create.exe"};
}

// The end-to-end driver's RunningProgram starts the ZORIZA.exe named by ZORIZA_EXE.
void UseZorizaOf(const Build& build) {
    if (!SetEnvironmentVariableW(L"ZORIZA_EXE", build.zoriza.path.c_str())) Fail("cannot set ZORIZA_EXE");
}

struct ThreadWindowSearch {
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchThreadWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<ThreadWindowSearch*>(parameter);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (IsWindowVisible(window) && wcscmp(className, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of that class belonging to the thread.
HWND FindThreadWindow(DWORD threadId, const wchar_t* className) {
    ThreadWindowSearch search{className, nullptr};
    EnumThreadWindows(threadId, &MatchThreadWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

DWORD ThreadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

// How long the driver lets things settle before each run and each click:
// what a process start or end leaves behind (its own threads, the server's
// and the desktop's work) would otherwise land in the next measurement.
DWORD settleMs = 200;

// Returns once the window's thread has dealt with everything sent before,
// and the settling time after that.
void Settle(HWND window) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    Sleep(settleMs);
}

// The thread's message box once it is visible. Between looks the driver
// sends the program a message: that returns at once while the program is
// idle, and otherwise only when it reads its messages again, which a busy
// command does first in its message box's own loop.
HWND WaitForMessageBoxOf(HWND mainWindow) {
    const DWORD thread = ThreadOf(mainWindow);
    const double deadline = NowMs() + kTimeoutMs;
    for (;;) {
        if (const HWND box = FindThreadWindow(thread, kDialogClass)) return box;
        if (NowMs() > deadline) return nullptr;
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(mainWindow, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored);
        if (const HWND box = FindThreadWindow(thread, kDialogClass)) return box;
        Sleep(1);
    }
}

std::wstring MessageBoxText(HWND box) {
    const double deadline = NowMs() + 2000;
    wchar_t text[1024] = {};
    while (GetWindowTextW(GetDlgItem(box, kMessageTextId), text, 1024) == 0 && NowMs() < deadline) Sleep(5);
    return text;
}

void CloseBox(HWND box) {
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    const double deadline = NowMs() + 5000;
    while (IsWindow(box) && IsWindowVisible(box) && NowMs() < deadline) Sleep(5);
}

// One process of a program with a main window, started in C:\ and followed
// until its window is visible and it waits for input.
class Started {
public:
    explicit Started(const Program& program, const std::wstring& arguments = L"") {
        std::wstring commandLine = L"\"" + program.path + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        // Wine now and then refuses one CreateProcessW on this shared machine;
        // a second try a moment later starts the program.
        double begin = NowMs();
        PROCESS_INFORMATION started{};
        for (int attempt = 1; !CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                              L"C:\\", &startup, &started);
             ++attempt) {
            if (attempt == 3) {
                Fail(program.Who() + " did not start (error " + std::to_string(GetLastError()) + ")");
            }
            Sleep(200);
            begin = NowMs();
        }
        process_ = UniqueProcess(started);
        const double deadline = begin + kTimeoutMs;
        while ((window_ = FindThreadWindow(process_.threadId, program.windowClass)) == nullptr) {
            if (WaitForSingleObject(process_.process.get(), 0) == WAIT_OBJECT_0 || NowMs() > deadline) {
                Fail(program.Who() + " showed no window");
            }
            Sleep(1);
        }
        if (WaitForInputIdle(process_.process.get(), static_cast<DWORD>(kTimeoutMs)) != 0) {
            Fail(program.Who() + " did not become idle");
        }
        startToIdleMs_ = NowMs() - begin;
    }

    ~Started() { Close(); }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    HWND Window() const { return window_; }
    HANDLE Process() const { return process_.process.get(); }
    double StartToIdleMs() const { return startToIdleMs_; }

    void Close() {
        if (WaitForSingleObject(process_.process.get(), 0) == WAIT_OBJECT_0) return;
        PostMessageW(window_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.process.get(), 5000) != WAIT_OBJECT_0) {
            TerminateProcess(process_.process.get(), 1);
            WaitForSingleObject(process_.process.get(), 5000);
        }
    }

private:
    UniqueProcess process_;
    HWND window_ = nullptr;
    double startToIdleMs_ = 0;
};

// The programs in turn, `rounds` times; the first program of each round
// moves on by one, so that none is always first.
template <typename Measure>
void Interleave(std::size_t count, int warmup, int runs, Measure measure) {
    for (int round = 0; round < warmup + runs; ++round) {
        for (std::size_t k = 0; k < count; ++k) {
            // What the last run left behind (its process ending) settles first.
            Sleep(settleMs);
            measure((static_cast<std::size_t>(round) + k) % count, round >= warmup);
        }
    }
}

// ---- start-up and memory -------------------------------------------------

// What ZORIZA.exe's drive list asks of every drive when it opens: its type,
// and for a fixed, network or RAM drive its label. Timed here, in the
// driver, for the drives of the prefix: reported as a sample of the driver's
// own processor.
const char* DriverBuild() { return sizeof(void*) == 8 ? "x86_64" : "i686"; }

double ProbeDrives() {
    const DWORD length = GetLogicalDriveStringsW(0, nullptr);
    std::wstring roots(length, L'\0');
    GetLogicalDriveStringsW(length, roots.data());
    const double begin = NowMs();
    for (const wchar_t* root = roots.c_str(); *root != L'\0'; root += wcslen(root) + 1) {
        const UINT type = GetDriveTypeW(root);
        if (type != DRIVE_FIXED && type != DRIVE_REMOTE && type != DRIVE_RAMDISK) continue;
        wchar_t label[MAX_PATH + 1] = {};
        GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0);
    }
    return NowMs() - begin;
}

void StartUpPhase(const std::vector<Program>& programs, int warmup, int runs) {
    Interleave(programs.size() + 1, warmup, runs, [&](std::size_t index, bool report) {
        if (index == programs.size()) {
            const double ms = ProbeDrives();
            if (report) Sample("drive_probe_ms", DriverBuild(), "driver", ms);
            return;
        }
        const Program& program = programs[index];
        Started started(program);
        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof(memory);
        if (!GetProcessMemoryInfo(started.Process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                                  sizeof(memory))) {
            Fail("no memory counters for " + program.Who());
        }
        started.Close();
        // Windows gives the commit charge twice, as PrivateUsage and as
        // PagefileUsage; Wine fills in only the older PROCESS_MEMORY_COUNTERS
        // (PagefileUsage: the process's anonymous resident and swapped memory).
        const bool privateUsageFilled = memory.PrivateUsage != 0;
        static bool told = false;
        if (!told) {
            told = true;
            Info("private_bytes_from", privateUsageFilled ? "PrivateUsage" : "PagefileUsage");
        }
        if (!report) return;
        Sample("startup_ms", program.build, program.name, started.StartToIdleMs());
        Sample("peak_working_set_bytes", program.build, program.name, static_cast<double>(memory.PeakWorkingSetSize));
        Sample("private_bytes", program.build, program.name,
               static_cast<double>(privateUsageFilled ? memory.PrivateUsage : memory.PagefileUsage));
    });
}

// ---- the create command --------------------------------------------------

struct ExpectedSetting {
    const wchar_t* name;
    const wchar_t* text;
};

constexpr ExpectedSetting kExpectedSettings[] = {
    {L"Idioma", L"0"}, {L"Aplicacio", L"0"}, {L"Directori", kServerFolder}, {L"Plataforma", L"1"}, {L"Icona0", L"1"},
};

void PrepareCreate() {
    ClearSettings();
    RemoveTree(ProgramsFolder() + L"\\VekPro");
    for (const std::wstring& link : LinksUnder(DesktopFolder())) DeleteFileW((DesktopFolder() + L"\\" + link).c_str());
}

// The eight shortcuts and five settings, as the create command leaves them.
std::map<std::wstring, LinkFields> CheckCreated(const std::string& who) {
    std::map<std::wstring, LinkFields> links;
    for (const std::wstring& link : LinksUnder(DesktopFolder())) {
        links[L"Desktop\\" + link] = ReadLink(DesktopFolder() + L"\\" + link);
    }
    for (const std::wstring& link : LinksUnder(ProgramsFolder())) {
        links[L"Programs\\" + link] = ReadLink(ProgramsFolder() + L"\\" + link);
    }
    if (links.size() != 8) Fail(who + " left " + std::to_string(links.size()) + " shortcuts, not 8");
    for (const ExpectedSetting& setting : kExpectedSettings) {
        const auto stored = Stored(setting.name);
        if (!stored || stored->type != REG_SZ || stored->Text() != setting.text) {
            Fail(who + " did not save " + Narrow(setting.name));
        }
    }
    return links;
}

bool SameFields(const LinkFields& a, const LinkFields& b) {
    return a.target == b.target && a.arguments == b.arguments && a.workingDirectory == b.workingDirectory &&
           a.iconLocation == b.iconLocation && a.iconIndex == b.iconIndex && a.description == b.description &&
           a.hotkey == b.hotkey && a.showCommand == b.showCommand && a.headerHotkey == b.headerHotkey;
}

void WaitIdle(const RunningProgram& program, const std::string& who) {
    const UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, program.ProcessId()));
    if (!process) Fail("cannot open the process of " + who);
    const DWORD waited = WaitForInputIdle(process.get(), static_cast<DWORD>(kTimeoutMs));
    if (waited != 0) Fail(who + " did not become idle");
}

// The worked example's choices, then the click on CREAR.
double CreateWithZoriza(const Build& build, std::map<std::wstring, LinkFields>* links) {
    const std::string who = build.zoriza.Who();
    PrepareCreate();
    UseZorizaOf(build);
    RunningProgram program;
    if (program.Window() == nullptr) Fail(who + " showed no window");
    WaitIdle(program, who);
    program.Click(ControlId::Platform1);
    if (!program.WaitUntil([&] { return program.Checked(ControlId::Platform1); })) Fail("32 bit not chosen");
    if (!program.Checked(ControlId::Icona)) program.Click(ControlId::Icona);
    if (!program.WaitUntil([&] { return program.Checked(ControlId::Icona); })) Fail("desktop shortcut not chosen");
    program.ChooseDrive(L'f');
    if (!program.WaitUntil([&] { return program.ListText(ControlId::Dir1, 0) == L"F:\\"; })) Fail("drive f: not shown");
    program.OpenFolder(L"VekPro");
    if (!program.WaitUntil([&] {
            return program.ListIndex(ControlId::Dir1) == 1 && program.ListText(ControlId::Dir1, 1) == L"  VekPro";
        })) {
        Fail("folder F:\\VekPro not shown");
    }
    Settle(program.Window());

    const double begin = NowMs();
    PostMessageW(program.Control(ControlId::Intro), BM_CLICK, 0, 0);
    const HWND box = WaitForMessageBoxOf(program.Window());
    const double elapsed = NowMs() - begin;

    if (box == nullptr) Fail(who + " showed no report");
    const std::wstring text = MessageBoxText(box);
    CloseBox(box);
    if (text != kCreatedReport) Fail(who + " reported: " + Narrow(text));
    *links = CheckCreated(who);
    program.CloseWindow();
    program.WaitForExit(5s);
    return elapsed;
}

double CreateWithFloor(const Build& build, std::map<std::wstring, LinkFields>* links) {
    const std::string who = "floor_create (" + build.label + ")";
    PrepareCreate();
    std::wstring commandLine = L"\"" + build.floorCreate + L"\" " + kServerFolder + L" " + std::to_wstring(settleMs);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, L"C:\\", &startup, &started)) {
        Fail(who + " did not start");
    }
    const UniqueProcess process(started);
    DWORD code = 0;
    const bool ended = WaitForSingleObject(process.process.get(), static_cast<DWORD>(kTimeoutMs)) == WAIT_OBJECT_0;
    GetExitCodeProcess(process.process.get(), &code);
    if (!ended) TerminateProcess(process.process.get(), 1);
    if (!ended || code >= 0xE0000000) Fail(who + " failed: " + std::to_string(code));
    *links = CheckCreated(who);
    return code / 1000.0;
}

double ClickToMessageBox(const Program& panel) {
    Started started(panel);
    Settle(started.Window());
    const double begin = NowMs();
    PostMessageW(GetDlgItem(started.Window(), kPanelBoxButton), BM_CLICK, 0, 0);
    const HWND box = WaitForMessageBoxOf(started.Window());
    const double elapsed = NowMs() - begin;
    if (box == nullptr) Fail(panel.Who() + " showed no message box");
    CloseBox(box);
    return elapsed;
}

// Whether a build's floor wrote the same shortcuts as its ZORIZA.exe (a
// shortcut's target may name the folders of the program's own processor).
void CompareCreated(const Build& build, const char* phase, const std::map<std::wstring, LinkFields>& zoriza,
                    const std::map<std::wstring, LinkFields>& floor) {
    bool same = zoriza.size() == floor.size();
    for (const auto& [name, fields] : zoriza) {
        const auto other = floor.find(name);
        if (other == floor.end() || !SameFields(fields, other->second)) {
            Info(std::string(phase) + "_field_difference_" + build.label, Narrow(name));
            same = false;
        }
    }
    Info(std::string(phase) + "_floor_writes_same_fields_" + build.label, same ? "yes" : "no");
    if (!same) Fail("the floor does not write what " + build.zoriza.Who() + " writes (" + phase + ")");
}

// What one build's ZORIZA.exe and floor wrote, kept until they are compared.
struct Written {
    std::map<std::wstring, LinkFields> zoriza;
    std::map<std::wstring, LinkFields> floor;
    bool compared = false;
};

void CreatePhase(const std::vector<Build>& builds, int warmup, int runs) {
    constexpr std::size_t kTurns = 3;
    std::vector<Written> written(builds.size());
    Interleave(kTurns * builds.size(), warmup, runs, [&](std::size_t index, bool report) {
        const Build& build = builds[index / kTurns];
        Written& by = written[index / kTurns];
        double ms = 0;
        const char* name = nullptr;
        switch (index % kTurns) {
            case 0: ms = CreateWithZoriza(build, &by.zoriza); name = "zoriza"; break;
            case 1: ms = CreateWithFloor(build, &by.floor); name = "floor_create"; break;
            default: ms = ClickToMessageBox(build.panel); name = "floor_box"; break;
        }
        if (report) Sample("create_ms", build.label, name, ms);
        if (!by.compared && !by.zoriza.empty() && !by.floor.empty()) {
            by.compared = true;
            CompareCreated(build, "create", by.zoriza, by.floor);
        }
    });
    PrepareCreate();
}

// ---- the unattended create ------------------------------------------------

// The worked example as switches: what the create phase chooses in the window.
constexpr wchar_t kUnattendedCreate[] = L"/create /edition:VekPro /folder:F:\\VekPro /platform:32 /desktop:yes /lang:ca";

// The name a run is reported under.
std::string WhoRuns(const Build& build, bool zoriza) {
    return zoriza ? build.zoriza.Who() : "floor_create (" + build.label + ")";
}

// One build's ZORIZA.exe with `switches`, or its floor_create.exe, run to its
// end with its standard output in a pipe; a run that fails ends the bench.
// floor_create's exit code is its own time inside, in microseconds.
FinishedRun RunUnattended(const Build& build, bool zoriza, const wchar_t* switches) {
    const FinishedRun run = zoriza ? RunToEnd(build.zoriza.path, switches, L"C:\\", false)
                                   : RunToEnd(build.floorCreate, kServerFolder, L"C:\\", false);
    if (zoriza ? run.exitCode != 0 : run.exitCode >= 0xE0000000) {
        Fail(WhoRuns(build, zoriza) + " failed: " + std::to_string(run.exitCode) + " " + Narrow(run.output));
    }
    return run;
}

// Each build's ZORIZA.exe /create and floor_create.exe, each started as a
// process and timed from its start to its end, its standard output in a pipe.
void UnattendedPhase(const std::vector<Build>& builds, int warmup, int runs) {
    std::vector<Written> written(builds.size());
    Interleave(2 * builds.size(), warmup, runs, [&](std::size_t index, bool report) {
        const Build& build = builds[index / 2];
        const bool zoriza = index % 2 == 0;
        const std::string who = WhoRuns(build, zoriza);
        PrepareCreate();
        const FinishedRun run = RunUnattended(build, zoriza, kUnattendedCreate);
        (zoriza ? written[index / 2].zoriza : written[index / 2].floor) = CheckCreated(who);
        if (!report) return;
        const char* name = zoriza ? "zoriza" : "floor_create";
        Sample("unattended_ms", build.label, name, run.milliseconds);
        if (!zoriza) Sample("unattended_inside_ms", build.label, name, run.exitCode / 1000.0);
    });
    for (std::size_t i = 0; i < builds.size(); ++i) {
        CompareCreated(builds[i], "unattended", written[i].zoriza, written[i].floor);
    }
    PrepareCreate();
}

// ---- the logon repair and the check --------------------------------------

// The same choices, checked instead of written.
constexpr wchar_t kUnattendedCheck[] = L"/check /edition:VekPro /folder:F:\\VekPro /platform:32 /desktop:yes /lang:ca";

// A second ZORIZA.exe run where its first /create left everything right,
// and how its lines show that it wrote nothing.
struct RunAgain {
    const wchar_t* switches;
    const wchar_t* linePrefix;  // of each line that says an item was right
    long lines;                 // how many such lines
    const char* measure;
};

constexpr RunAgain kRepair{kUnattendedCreate, L"unchanged: ", 8, "repair_ms"};
constexpr RunAgain kCheck{kUnattendedCheck, L"in place: ", 8 + 5, "check_ms"};

// Each build's ZORIZA.exe run again over the shortcuts and settings its
// first /create wrote, each of them already right, against floor_create.exe
// writing them again over its own; only the second run is timed.
void AgainPhase(const std::vector<Build>& builds, int warmup, int runs, const RunAgain& again) {
    Interleave(2 * builds.size(), warmup, runs, [&](std::size_t index, bool report) {
        const Build& build = builds[index / 2];
        const bool zoriza = index % 2 == 0;
        const std::string who = WhoRuns(build, zoriza);
        PrepareCreate();
        RunUnattended(build, zoriza, kUnattendedCreate);
        const FinishedRun run = RunUnattended(build, zoriza, again.switches);
        const std::vector<std::wstring> lines = run.Lines();
        const auto right = std::count_if(lines.begin(), lines.end(), [&](const std::wstring& line) {
            return line.rfind(again.linePrefix, 0) == 0;
        });
        if (zoriza && right != again.lines) Fail(who + " did not find everything right: " + Narrow(run.output));
        CheckCreated(who);
        if (report) Sample(again.measure, build.label, zoriza ? "zoriza" : "floor_create", run.milliseconds);
    });
    PrepareCreate();
}

// ---- the server scan -----------------------------------------------------

std::wstring ListEntry(HWND list, int index) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0, SMTO_NORMAL, 5000, &length) ||
        static_cast<LRESULT>(length) == LB_ERR || length >= 512) {
        return {};
    }
    wchar_t text[512] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                        5000, &ignored);
    return text;
}

// The folder list on the drive's root, its second entry selected. While the
// program is busy with the scan the first message waits for it to finish.
bool ShowsEditionFolder(HWND list, const std::wstring& root) {
    DWORD_PTR selected = static_cast<DWORD_PTR>(LB_ERR);
    if (!SendMessageTimeoutW(list, LB_GETCURSEL, 0, 0, SMTO_NORMAL, 30000, &selected) || selected != 1) return false;
    return ListEntry(list, 0) == root;
}

double Scan(const Program& program, bool zoriza, wchar_t launcher, double* lookupsMs) {
    Started started(program);
    const HWND window = started.Window();
    const HWND list = GetDlgItem(window, zoriza ? static_cast<int>(ControlId::Dir1) : kPanelFolderList);
    const HWND button = GetDlgItem(window, zoriza ? static_cast<int>(ControlId::Search) : kPanelScanButton);
    const std::wstring root = {static_cast<wchar_t>(std::towupper(launcher)), L':', L'\\'};
    if (ShowsEditionFolder(list, root)) Fail(program.Who() + " is on the launcher drive before the scan");
    Settle(window);

    const double begin = NowMs();
    PostMessageW(button, BM_CLICK, 0, 0);
    const double deadline = begin + kTimeoutMs;
    // No pause between looks: while the program is busy with the scan the
    // first message of a look waits for it, so the look that sees the lists
    // moved comes as soon as the handler has returned.
    while (!ShowsEditionFolder(list, root)) {
        const double now = NowMs();
        // A message box instead means that the scan found nothing.
        if (now > deadline || (now - begin > 1000 && FindThreadWindow(ThreadOf(window), kDialogClass) != nullptr)) {
            Fail(program.Who() + ": the scan did not land on the launcher drive");
        }
    }
    const double elapsed = NowMs() - begin;

    if (ListEntry(list, 1) != L"  VekPro") Fail(program.Who() + " does not show the edition folder");
    if (lookupsMs != nullptr) {
        DWORD_PTR microseconds = 0;
        SendMessageTimeoutW(window, WM_APP, 0, 0, SMTO_NORMAL, 5000, &microseconds);
        *lookupsMs = static_cast<double>(microseconds) / 1000.0;
    }
    return elapsed;
}

int CountDrives() {
    int count = 0;
    for (DWORD drives = GetLogicalDrives(); drives != 0; drives &= drives - 1) ++count;
    return count;
}

// Each build's ZORIZA.exe and floor panel in turn, and the variant after the
// build it is compared with.
void ScanPhase(const std::vector<Build>& builds, const Program& variant, int drives, wchar_t launcher,
               wchar_t notReady, int warmup, int runs) {
    ClearSettings();
    const std::string suffix = "_" + std::to_string(drives);
    Info("scan_drives_listed" + suffix, std::to_string(CountDrives()));
    if (notReady != 0) {
        const std::wstring path = std::wstring{notReady, L':', L'\\'} + L"VekPro\\VEKBIN.BAT";
        SetLastError(ERROR_SUCCESS);
        const bool answersNotReady =
            GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_NOT_READY;
        Info("scan_not_ready_drive" + suffix, answersNotReady ? "yes" : "no");
    }
    const std::string measure = "scan_ms" + suffix;
    const std::string lookups = "scan_lookups_ms" + suffix;
    std::vector<const Program*> programs;
    for (const Build& build : builds) {
        programs.insert(programs.end(), {&build.zoriza, &build.panel});
        if (!variant.path.empty() && variant.build == build.label) programs.push_back(&variant);
    }
    Interleave(programs.size(), warmup, runs, [&](std::size_t index, bool report) {
        const Program& program = *programs[index];
        const bool panel = program.windowClass != kZorizaClass;
        double lookupMs = 0;
        const double ms = Scan(program, !panel, launcher, panel ? &lookupMs : nullptr);
        if (!report) return;
        Sample(measure.c_str(), program.build, program.name, ms);
        if (panel) Sample(lookups.c_str(), program.build, program.name, lookupMs);
    });
}

// ---- servers that stop answering -----------------------------------------

// The drives before the launcher's f:, in the drive list's order.
constexpr wchar_t kStallingDrives[] = {L'a', L'b', L'd', L'e'};

// The last `count` of the stalling drives stall, the others answer.
void StallLast(std::size_t count) {
    const std::size_t total = std::size(kStallingDrives);
    for (std::size_t i = 0; i < total; ++i) TellStallingServer(kStallingDrives[i], i + count >= total ? "stall" : "answer");
}

void StalledPhase(const Program& zoriza, int warmup, int runs) {
    ClearSettings();
    for (const std::size_t stalled : {0u, 1u, 4u}) {
        StallLast(stalled);
        const std::string measure = "stalled_scan_ms_" + std::to_string(stalled);
        Interleave(1, warmup, runs, [&](std::size_t, bool report) {
            const double ms = Scan(zoriza, true, L'f', nullptr);
            if (report) Sample(measure.c_str(), zoriza.build, "zoriza", ms);
        });
    }
    StoreText(kDirectori, L"E:\\VekPro");
    Interleave(2, warmup, runs, [&](std::size_t index, bool report) {
        StallLast(index);
        const Started started(zoriza);
        if (report) {
            Sample("stalled_startup_ms", zoriza.build, index == 0 ? "answering" : "stalled", started.StartToIdleMs());
        }
    });
    StallLast(0);
    ClearSettings();
}

// Every build's programs for start-up and memory; the variant takes its
// turn after the build it is compared with.
std::vector<Program> StartUpPrograms(const std::vector<Build>& builds, const Program& variant) {
    std::vector<Program> programs;
    for (const Build& build : builds) {
        programs.insert(programs.end(), {build.zoriza, build.floor, build.floorDlls, build.floorControls});
        if (!variant.path.empty() && variant.build == build.label) programs.push_back(variant);
    }
    return programs;
}

struct Arguments {
    std::vector<std::wstring> phases;
    std::vector<Build> builds;
    std::map<std::wstring, std::wstring> options;

    std::wstring Option(const wchar_t* name, const wchar_t* fallback) const {
        const auto found = options.find(name);
        return found != options.end() ? found->second : std::wstring(fallback);
    }
};

// Phases, options with one value each, and --build with three.
Arguments ReadArguments(int argc, wchar_t** argv) {
    Arguments read;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--build") {
            if (i + 3 >= argc) Fail("--build needs a label, a ZORIZA.exe and a floor folder");
            read.builds.push_back(MakeBuild(argv[i + 1], argv[i + 2], argv[i + 3]));
            i += 3;
        } else if (argument.rfind(L"--", 0) == 0) {
            if (i + 1 >= argc) Fail("no value for " + Narrow(argument));
            read.options[argument.substr(2)] = argv[++i];
        } else {
            read.phases.push_back(argument);
        }
    }
    if (read.builds.empty()) Fail("no --build given");
    return read;
}

// Another build of ZORIZA.exe to start side by side with one of the builds, to try a change.
Program VariantOf(const Arguments& arguments) {
    const std::string build = Narrow(arguments.Option(L"variant-build", L""));
    Program variant{build.empty() ? arguments.builds.front().label : build, "variant",
                    WindowsPath(arguments.Option(L"variant", L"")), kZorizaClass};
    bool known = false;
    for (const Build& each : arguments.builds) known = known || each.label == variant.build;
    if (!variant.path.empty() && !known) Fail("--variant-build names no --build: " + variant.build);
    return variant;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        const Arguments arguments = ReadArguments(argc, argv);
        const std::vector<Build>& builds = arguments.builds;
        const int runs = std::stoi(arguments.Option(L"runs", L"15"));
        const int warmup = std::stoi(arguments.Option(L"warmup", L"1"));
        settleMs = static_cast<DWORD>(std::stoi(arguments.Option(L"settle", L"200")));
        const Program variant = VariantOf(arguments);

        const ComScope com;
        SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        for (const std::wstring& phase : arguments.phases) {
            if (phase == L"startup") {
                StartUpPhase(StartUpPrograms(builds, variant), warmup, runs);
            } else if (phase == L"create") {
                CreatePhase(builds, warmup, runs);
            } else if (phase == L"unattended") {
                UnattendedPhase(builds, warmup, runs);
            } else if (phase == L"repair") {
                AgainPhase(builds, warmup, runs, kRepair);
            } else if (phase == L"check") {
                AgainPhase(builds, warmup, runs, kCheck);
            } else if (phase == L"stalled") {
                StalledPhase(builds.front().zoriza, warmup, runs);
            } else if (phase == L"scan") {
                const std::wstring launcher = arguments.Option(L"launcher", L"f");
                const std::wstring notReady = arguments.Option(L"not-ready", L"");
                ScanPhase(builds, variant, std::stoi(arguments.Option(L"drives", L"1")),
                          static_cast<wchar_t>(towlower(launcher[0])),
                          notReady.empty() ? 0 : static_cast<wchar_t>(towupper(notReady[0])), warmup, runs);
            } else {
                Fail("no such phase: " + Narrow(phase));
            }
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zoriza_bench: %s\n", error.what());
        return 1;
    }
}
