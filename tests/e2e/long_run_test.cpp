// One program run doing the create command 500 times, switching the language
// before each: the shortcut files end up the same set as after the first
// creates, and the process's handles, windows and private memory stay flat.
// The counters are printed so that they can be published.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_support.h"

namespace zoriza::e2e {
namespace {

constexpr int kIterations = 500;
constexpr int kWarmUp = 10;
constexpr DWORD kHandleGrowthAllowed = 5;
constexpr std::uint64_t kPrivateGrowthAllowed = 1024 * 1024;

constexpr int kCatalan = 0;
constexpr int kCastellano = 3;

// ---- Counters of another process ----------------------------------------------

// The system's handle table, as NtQuerySystemInformation(SystemHandleInformation)
// lists it: Wine does not count a process's handles in GetProcessHandleCount.
struct HandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};
struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};
constexpr ULONG kSystemHandleInformation = 16;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

std::optional<DWORD> HandlesInSystemTable(DWORD processId) {
    using Query = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) return std::nullopt;
    std::vector<BYTE> buffer(1 << 20);
    ULONG length = 0;
    NTSTATUS status;
    while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &length)) ==
           kInfoLengthMismatch) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) return std::nullopt;
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    DWORD count = 0;
    for (ULONG i = 0; i < table->count; ++i) {
        if (table->entries[i].ownerPid == processId) ++count;
    }
    return count;
}

// Committed private memory, region by region: what "private bytes" counts.
std::uint64_t CommittedPrivateBytes(HANDLE process) {
    std::uint64_t total = 0;
    MEMORY_BASIC_INFORMATION region{};
    const BYTE* address = nullptr;
    while (VirtualQueryEx(process, address, &region, sizeof(region)) == sizeof(region)) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        const BYTE* next = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return total;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    return TRUE;
}

struct WindowCount {
    DWORD processId;
    DWORD count;
};

BOOL CALLBACK CountTopLevel(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowCount*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId) {
        ++search->count;
        EnumChildWindows(window, &CountChild, reinterpret_cast<LPARAM>(&search->count));
    }
    return TRUE;
}

DWORD WindowsOf(DWORD processId) {
    WindowCount search{processId, 0};
    EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

struct Counters {
    int iteration = 0;
    DWORD handleCount = 0;           // GetProcessHandleCount
    std::optional<DWORD> handles;    // the system handle table
    DWORD gdiObjects = 0;            // GetGuiResources
    DWORD userObjects = 0;
    DWORD windows = 0;               // top-level and child windows
    std::uint64_t privateUsage = 0;  // PROCESS_MEMORY_COUNTERS_EX
    std::uint64_t pagefileUsage = 0;
    std::uint64_t committedPrivate = 0;  // from VirtualQueryEx
};

Counters Measure(DWORD processId, int iteration) {
    Counters counters;
    counters.iteration = iteration;
    const UniqueHandle owned(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!owned) return counters;
    const HANDLE process = owned.get();
    GetProcessHandleCount(process, &counters.handleCount);
    counters.handles = HandlesInSystemTable(processId);
    counters.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    counters.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    counters.windows = WindowsOf(processId);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory))) {
        counters.privateUsage = memory.PrivateUsage;
        counters.pagefileUsage = memory.PagefileUsage;
    }
    counters.committedPrivate = CommittedPrivateBytes(process);
    return counters;
}

void Print(const char* label, const Counters& c) {
    std::printf("%-6s after %3d creates: handles %lu (GetProcessHandleCount %lu), GDI %lu, USER %lu, windows %lu, "
                "PrivateUsage %llu, PagefileUsage %llu, committed private %llu\n",
                label, c.iteration, static_cast<unsigned long>(c.handles.value_or(0)),
                static_cast<unsigned long>(c.handleCount), static_cast<unsigned long>(c.gdiObjects),
                static_cast<unsigned long>(c.userObjects), static_cast<unsigned long>(c.windows),
                static_cast<unsigned long long>(c.privateUsage), static_cast<unsigned long long>(c.pagefileUsage),
                static_cast<unsigned long long>(c.committedPrivate));
    std::fflush(stdout);
}

// ---- The run ----------------------------------------------------------------------

std::set<std::wstring> ShortcutFiles() {
    std::set<std::wstring> files;
    for (const std::wstring& link : LinksUnder(ProgramsFolder())) files.insert(L"Programs\\" + link);
    for (const std::wstring& link : LinksUnder(DesktopFolder())) files.insert(L"Desktop\\" + link);
    return files;
}

std::string Narrow(const std::wstring& text) {
    std::string result;
    for (const wchar_t c : text) result += c < 0x80 ? static_cast<char>(c) : '?';
    return result;
}

class LongRunTest : public ::testing::Test {
protected:
    void SetUp() override { CleanUp(); }
    void TearDown() override { CleanUp(); }
    void CleanUp() {
        ClearSettings();
        RemoveTree(ProgramsFolder() + L"\\VekPro");
        for (const std::wstring& link : LinksUnder(DesktopFolder())) DeleteFileW((DesktopFolder() + L"\\" + link).c_str());
        WriteFile(L"F:\\VekPro\\VEKBIN.BAT");
    }
    ComScope com;
};

TEST_F(LongRunTest, FiveHundredCreatesWithLanguageSwitchesLeaveNothingBehind) {
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    program.Click(ControlId::Platform1);
    ASSERT_TRUE(program.WaitUntil([&] { return program.Checked(ControlId::Platform1); }));
    program.Click(ControlId::Icona);
    ASSERT_TRUE(program.WaitUntil([&] { return program.Checked(ControlId::Icona); }));
    ASSERT_TRUE(program.MoveToServerFolder(L'f', L"VekPro"));

    std::set<std::wstring> afterCatalan;
    std::set<std::wstring> afterBoth;
    std::vector<Counters> samples;
    const auto settle = [] { std::this_thread::sleep_for(200ms); };
    const auto started = std::chrono::steady_clock::now();
    for (int i = 1; i <= kIterations; ++i) {
        // Catalan for odd creates, Castellano for even ones.
        const int language = i % 2 == 1 ? kCatalan : kCastellano;
        program.SelectListEntry(ControlId::Lang, language);
        ASSERT_EQ(program.ListIndex(ControlId::Lang), language) << "create " << i;
        program.Click(ControlId::Intro);
        const auto report = program.WaitForMessageBox(20s);
        ASSERT_TRUE(report.has_value()) << "no report after create " << i;
        program.CloseMessageBox();
        ASSERT_EQ(report->title, L"ZORIZA") << "create " << i << ": " << Narrow(report->text);
        ASSERT_FALSE(report->errorIcon) << "create " << i << ": " << Narrow(report->text);
        ASSERT_TRUE(report->text.ends_with(L" F:\\VekPro\\")) << "create " << i << ": " << Narrow(report->text);

        if (i == 1) afterCatalan = ShortcutFiles();
        if (i == 2) afterBoth = ShortcutFiles();
        if (i == kWarmUp || i == kIterations / 2 || i == kIterations || i % 100 == 0) {
            settle();
            samples.push_back(Measure(program.ProcessId(), i));
            Print(i == kWarmUp ? "first" : i == kIterations / 2 ? "middle" : i == kIterations ? "last" : "", samples.back());
        }
    }
    const auto finished = std::chrono::steady_clock::now();
    const auto total = std::chrono::duration_cast<std::chrono::milliseconds>(finished - started);
    std::printf("%d creates and %d language switches in %.1f s, %.0f ms per create\n", kIterations, kIterations,
                total.count() / 1000.0, static_cast<double>(total.count()) / kIterations);

    // The same files as after the first Catalan and the first Castellano create.
    EXPECT_EQ(afterCatalan.size(), 8u);
    EXPECT_GT(afterBoth.size(), afterCatalan.size()) << "the second language added no names";
    for (const std::wstring& file : afterCatalan) EXPECT_TRUE(afterBoth.contains(file)) << Narrow(file);
    EXPECT_EQ(ShortcutFiles(), afterBoth);

    // The counters would see a leak: three handles and 2 MiB of memory put
    // into the process show up in them.
    ASSERT_FALSE(samples.empty());
    const Counters before = samples.back();
    const UniqueHandle process(
        OpenProcess(PROCESS_DUP_HANDLE | PROCESS_VM_OPERATION | PROCESS_QUERY_INFORMATION, FALSE, program.ProcessId()));
    ASSERT_TRUE(process);
    const UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    for (int i = 0; i < 3; ++i) {
        HANDLE copy = nullptr;
        EXPECT_TRUE(DuplicateHandle(GetCurrentProcess(), event.get(), process.get(), &copy, 0, FALSE,
                                    DUPLICATE_SAME_ACCESS));
    }
    constexpr SIZE_T kPlanted = 2 * 1024 * 1024;
    EXPECT_NE(VirtualAllocEx(process.get(), nullptr, kPlanted, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE), nullptr);
    const Counters planted = Measure(program.ProcessId(), kIterations);
    Print("leak", planted);
    EXPECT_EQ(planted.handles.value_or(0), before.handles.value_or(0) + 3) << "the handle count misses handles";
    EXPECT_GE(planted.committedPrivate, before.committedPrivate + kPlanted) << "the memory count misses memory";

    program.PressKey(ControlId::Intro, VK_ESCAPE);
    EXPECT_TRUE(program.WaitForExit());

    // Flat counters between the first sample (after the warm-up) and the last.
    ASSERT_GE(samples.size(), 2u);
    const Counters& first = samples.front();
    const Counters& last = samples.back();
    ASSERT_TRUE(first.handles.has_value()) << "the system handle table could not be read";
    EXPECT_GT(*first.handles, 0u);
    EXPECT_LE(*last.handles, *first.handles + kHandleGrowthAllowed) << "kernel handles grew";
    EXPECT_LE(last.handleCount, first.handleCount + kHandleGrowthAllowed);
    EXPECT_EQ(last.windows, first.windows) << "windows were left behind";
    if (first.gdiObjects == 0 && last.gdiObjects == 0 && first.userObjects == 0 && last.userObjects == 0) {
        std::printf("GetGuiResources answers 0 for GDI and USER objects here (Wine does not count them)\n");
    } else {
        EXPECT_LE(last.gdiObjects, first.gdiObjects + kHandleGrowthAllowed) << "GDI objects grew";
        EXPECT_LE(last.userObjects, first.userObjects + kHandleGrowthAllowed) << "USER objects grew";
    }
    const auto privateBytes = [](const Counters& c) {
        return c.privateUsage != 0 ? c.privateUsage : c.committedPrivate;
    };
    if (first.privateUsage == 0) {
        std::printf("PrivateUsage answers 0 here (Wine does not fill it): private bytes counted with VirtualQueryEx\n");
    }
    ASSERT_GT(privateBytes(first), 0u);
    EXPECT_LE(privateBytes(last), privateBytes(first) + kPrivateGrowthAllowed) << "private bytes grew";
}

}  // namespace
}  // namespace zoriza::e2e
