// The create command when the disk refuses: folders that cannot be written,
// a file where the subfolder should be, a Desktop that is gone, a shortcut of
// the same name that is read-only, and a launcher removed after the scan found
// it. Each time the command stops at the shortcut that failed and names it,
// the shortcuts before it stay and none after it are written, no setting is
// saved, other shortcuts in the same folders keep every byte, no half-written
// shortcut is left, and the window stays usable: once the fault is mended the
// same command succeeds.
//
// The tests run as root, and root ignores the Unix permission bits that Wine
// gives a read-only file or folder. A folder or file that really refuses
// writes is made immutable on the Linux side (chattr +i), run from here as a
// Unix program, which Wine starts like any other.
// A fault that cannot be made on this machine fails its case with what is
// missing (chattr, root, a file system with the immutable flag).
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwctype>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/com_ptr.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/error_report.h"
#include "tests/shared/worked_example.h"

namespace zoriza::e2e {
namespace {

using expected::kWorkedExampleEdition;
using expected::kWorkedExampleReport;

std::string Narrow(const std::wstring& text) {
    std::string result;
    for (const wchar_t c : text) result += c < 0x80 ? static_cast<char>(c) : '?';
    return result;
}

std::wstring Wide(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, result.data(), size);
    result.resize(static_cast<std::size_t>(size > 0 ? size - 1 : 0));
    return result;
}

// ---- The Linux side -------------------------------------------------------

// The Linux path behind a Windows one, as Wine maps it.
std::optional<std::string> UnixPath(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr) return std::nullopt;
    char* name = toUnix(path.c_str());
    if (name == nullptr) return std::nullopt;
    std::string text = name;
    HeapFree(GetProcessHeap(), 0, name);
    return text;
}

std::optional<std::string> ReadSmallFile(const std::wstring& path) {
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    char buffer[1024] = {};
    DWORD read = 0;
    ::ReadFile(file.get(), buffer, sizeof(buffer) - 1, &read, nullptr);
    return std::string(buffer, read);
}

// What a failed chattr says about this machine, from its exit status and its
// messages: what is missing for a file to refuse root's writes.
std::string ChattrFailure(const std::string& mode, const std::string& status, const std::string& message,
                          const std::string& unixPath) {
    if (status == "127") return "chattr is not installed (it comes with e2fsprogs)";
    std::string reason = "chattr " + mode + " " + unixPath + " failed (exit " + status + "): " + message;
    if (message.find("not permitted") != std::string::npos) {
        reason += " (making a file immutable needs root)";
    } else if (message.find("ioctl") != std::string::npos || message.find("not supported") != std::string::npos) {
        reason += " (the build tree's file system has no immutable flag: put it on ext4, xfs or btrfs)";
    }
    return reason;
}

// Runs `chattr <mode> <path>` on the Linux side. Empty when it worked, else
// what stopped it. Wine gives a Unix program no process handle to wait on, so
// the shell writes chattr's exit status and messages to a file when it is done.
std::string Chattr(const char* mode, const std::string& unixPath) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring status = std::wstring(folder) + L"zoriza-chattr-status";
    DeleteFileW(status.c_str());
    const auto statusUnix = UnixPath(status);
    if (!statusUnix) return "Wine gave no Linux path for the temporary folder";
    std::wstring commandLine = L"/bin/sh -c \"PATH=/usr/sbin:/usr/bin:/sbin:/bin; "
                               L"message=$(chattr \\\"$0\\\" -- \\\"$1\\\" 2>&1); "
                               L"echo $? \\\"$message\\\" > \\\"$2.part\\\"; mv \\\"$2.part\\\" \\\"$2\\\"\" " +
                               Wide(mode) + L" \"" + Wide(unixPath) + L"\" \"" + Wide(*statusUnix) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(L"Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        return "Wine could not start /bin/sh to run chattr (error " + std::to_string(GetLastError()) + ")";
    }
    const UniqueProcess process(started);
    for (int i = 0; i < 500; ++i) {
        const auto text = ReadSmallFile(status);
        if (text && !text->empty() && text->back() == '\n') {
            DeleteFileW(status.c_str());
            const std::string line = text->substr(0, text->size() - 1);
            const std::size_t space = line.find(' ');
            const std::string code = line.substr(0, space);
            if (code == "0") return "";
            return ChattrFailure(mode, code, space == std::string::npos ? "" : line.substr(space + 1), unixPath);
        }
        std::this_thread::sleep_for(10ms);
    }
    return "chattr did not finish within 5 s";
}

// A file or folder that refuses every change while the object lives.
class Immutable {
public:
    explicit Immutable(const std::wstring& path) : unixPath_(UnixPath(path)) {
        failure_ = unixPath_ ? Chattr("+i", *unixPath_) : "Wine gave no Linux path for " + Narrow(path);
        applied_ = failure_.empty();
    }
    ~Immutable() { Release(); }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;

    // Empty when the flag was set, else why it could not be.
    const std::string& Failure() const { return failure_; }
    void Release() {
        if (applied_ && Chattr("-i", *unixPath_).empty()) applied_ = false;
    }

private:
    std::optional<std::string> unixPath_;
    std::string failure_;
    bool applied_ = false;
};

// ---- Files ------------------------------------------------------------------

std::optional<std::vector<char>> Bytes(const std::wstring& path) {
    const UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    std::vector<char> bytes(static_cast<std::size_t>(GetFileSize(file.get(), nullptr)));
    DWORD read = 0;
    if (!bytes.empty()) ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

// A shortcut that is not ZORIZA's, saved by the Shell.
void MakeLink(const std::wstring& path, const std::wstring& target) {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())) ||
        FAILED(link->SetPath(target.c_str())) || FAILED(link->SetDescription(L"not made by ZORIZA")) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid())) || FAILED(file->Save(path.c_str(), TRUE))) {
        throw std::runtime_error("cannot make a shortcut");
    }
}

// Can a new file be made in `folder`, or `file` be opened for writing?
bool FolderTakesFiles(const std::wstring& folder) {
    const std::wstring probe = folder + L"\\zoriza-write-probe.tmp";
    if (!UniqueFile(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr))) return false;
    DeleteFileW(probe.c_str());
    return true;
}

bool FileTakesWrites(const std::wstring& path) {
    return static_cast<bool>(UniqueFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
}

// ---- The command's shortcuts --------------------------------------------------

struct Planned {
    std::wstring report;  // as the error report names it
    std::wstring path;
    std::wstring target;
};

// The worked example's shortcuts, in the order they are written.
std::vector<Planned> Plan(const std::wstring& desktop, const std::wstring& programs) {
    std::vector<Planned> plan;
    for (const expected::ExpectedShortcut& e : expected::kWorkedExampleShortcuts) {
        const bool onDesktop = e.folder == expected::LinkFolder::Desktop;
        const std::wstring file = std::wstring(e.name) + L".lnk";
        plan.push_back({(onDesktop ? L"Desktop\\" : L"Programs\\") + file,
                        (onDesktop ? desktop : programs) + L"\\" + file, e.target});
    }
    return plan;
}

using Snapshot = std::map<std::wstring, std::vector<char>>;

enum class FaultKind { SubfolderRefusesWrites, ProgramsRefusesWrites, FileInTheWay, DesktopGone, ReadOnlyShortcut,
                       LauncherGone };

// The error a report gives: its number, and the system error whose words
// are its description.
struct ReportedError {
    std::int32_t number;
    DWORD systemError;
};

// A failure of the Shell's link object is reported with its HRESULT as the
// number; one of the subfolder's creation with the file error number 75.
constexpr std::int32_t kPathFileAccessError = 75;
constexpr std::int32_t AsHresult(DWORD error) { return static_cast<std::int32_t>(HRESULT_FROM_WIN32(error)); }

struct Fault {
    const char* name;
    FaultKind kind;
    // Index in the plan of the shortcut that fails; none: the launcher check fails.
    std::optional<std::size_t> failing;
    bool chooseByScan;
    ReportedError error;
};

void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.name; }

const Fault kFaults[] = {
    {"SubfolderRefusesWrites", FaultKind::SubfolderRefusesWrites, 1, false,
     {AsHresult(ERROR_ACCESS_DENIED), ERROR_ACCESS_DENIED}},
    {"ProgramsFolderRefusesWrites", FaultKind::ProgramsRefusesWrites, 1, false,
     {kPathFileAccessError, ERROR_ACCESS_DENIED}},
    {"FileWhereTheSubfolderShouldBe", FaultKind::FileInTheWay, 1, false, {kPathFileAccessError, ERROR_ALREADY_EXISTS}},
    {"DesktopFolderGone", FaultKind::DesktopGone, 0, false, {AsHresult(ERROR_PATH_NOT_FOUND), ERROR_PATH_NOT_FOUND}},
    {"ReadOnlyShortcutOfTheSameName", FaultKind::ReadOnlyShortcut, 3, false,
     {AsHresult(ERROR_ACCESS_DENIED), ERROR_ACCESS_DENIED}},
    {"LauncherRemovedBetweenScanAndClick", FaultKind::LauncherGone, std::nullopt, true, {}},
};

class DiskFaultsTest : public ::testing::TestWithParam<Fault> {
protected:
    void SetUp() override {
        desktop_ = DesktopFolder();
        programs_ = ProgramsFolder();
        subfolder_ = programs_ + L"\\VekPro";
        plan_ = Plan(desktop_, programs_);
        Reset();
    }

    void TearDown() override {
        Reset();
        DeleteFileW((programs_ + L"\\Unrelated.lnk").c_str());
        DeleteFileW((desktop_ + L"\\Unrelated.lnk").c_str());
    }

    void Reset() {
        Thaw();
        ClearSettings();
        CreateDirectoryW(desktop_.c_str(), nullptr);
        RemoveTree(subfolder_);
        for (const std::wstring& link : LinksUnder(desktop_)) DeleteFileW((desktop_ + L"\\" + link).c_str());
        WriteFile(L"F:\\VekPro\\VEKBIN.BAT");
        MakeLink(programs_ + L"\\Unrelated.lnk", L"C:\\windows\\notepad.exe");
        MakeLink(desktop_ + L"\\Unrelated.lnk", L"C:\\windows\\regedit.exe");
    }

    // Makes the fault once F:\VekPro is chosen. Empty when it is in place,
    // else why this machine cannot make it.
    std::string Arrange(FaultKind kind) {
        const std::wstring calendar = subfolder_ + L"\\Calendari.lnk";
        switch (kind) {
            case FaultKind::SubfolderRefusesWrites:
                CreateDirectoryW(subfolder_.c_str(), nullptr);
                MakeLink(subfolder_ + L"\\Unrelated.lnk", L"C:\\windows\\winhlp32.exe");
                return FreezeFolder(subfolder_);
            case FaultKind::ProgramsRefusesWrites:
                return FreezeFolder(programs_);
            case FaultKind::FileInTheWay:
                WriteFile(subfolder_);
                return FileExists(subfolder_) ? "" : "no file could be put in the subfolder's place";
            case FaultKind::DesktopGone:
                RemoveTree(desktop_);
                return FolderExists(desktop_) ? "the Desktop folder could not be removed" : "";
            case FaultKind::ReadOnlyShortcut:
                CreateDirectoryW(subfolder_.c_str(), nullptr);
                MakeLink(subfolder_ + L"\\Unrelated.lnk", L"C:\\windows\\winhlp32.exe");
                MakeLink(calendar, L"C:\\windows\\notepad.exe");
                SetFileAttributesW(calendar.c_str(), FILE_ATTRIBUTE_READONLY);
                if (!FileTakesWrites(calendar)) return "";
                // Wine lets root write to a file with the read-only attribute;
                // an immutable file refuses root as Windows refuses a user.
                std::printf("the read-only attribute alone does not stop root here: the file is made immutable too\n");
                return FreezeFile(calendar);
            case FaultKind::LauncherGone:
                DeleteFileW(L"F:\\VekPro\\VEKBIN.BAT");
                return FileExists(L"F:\\VekPro\\VEKBIN.BAT") ? "the launcher could not be removed" : "";
        }
        return "unknown fault";
    }

    void Mend(FaultKind kind) {
        switch (kind) {
            case FaultKind::SubfolderRefusesWrites:
            case FaultKind::ProgramsRefusesWrites:
                Thaw();
                break;
            case FaultKind::FileInTheWay:
                RemoveTree(subfolder_);
                break;
            case FaultKind::DesktopGone:
                CreateDirectoryW(desktop_.c_str(), nullptr);
                break;
            case FaultKind::ReadOnlyShortcut:
                Thaw();
                SetFileAttributesW((subfolder_ + L"\\Calendari.lnk").c_str(), FILE_ATTRIBUTE_NORMAL);
                break;
            case FaultKind::LauncherGone:
                WriteFile(L"F:\\VekPro\\VEKBIN.BAT");
                break;
        }
    }

    std::string Freeze(const std::wstring& path) {
        immutables_.push_back(std::make_unique<Immutable>(path));
        return immutables_.back()->Failure();
    }
    std::string FreezeFolder(const std::wstring& folder) {
        std::string reason = Freeze(folder);
        if (reason.empty() && FolderTakesFiles(folder)) reason = "an immutable folder still takes new files";
        return reason;
    }
    std::string FreezeFile(const std::wstring& file) {
        std::string reason = Freeze(file);
        if (reason.empty() && FileTakesWrites(file)) reason = "an immutable file can still be opened for writing";
        return reason;
    }
    void Thaw() {
        for (auto& immutable : immutables_) immutable->Release();
        immutables_.clear();
    }

    // Every .lnk in the Programs folder and on the Desktop, with its bytes.
    Snapshot Links() const {
        Snapshot links;
        for (const std::wstring& folder : {programs_, desktop_}) {
            for (const std::wstring& link : LinksUnder(folder)) {
                const std::wstring path = folder + L"\\" + link;
                links[path] = Bytes(path).value_or(std::vector<char>{});
            }
        }
        return links;
    }

    // Every .lnk present loads in the Shell's link object.
    ::testing::AssertionResult AllLoad() const {
        for (const auto& [path, bytes] : Links()) {
            try {
                ReadLink(path);
            } catch (const std::exception& error) {
                return ::testing::AssertionFailure()
                       << Narrow(path) << " (" << bytes.size() << " bytes) does not load: " << error.what();
            }
        }
        return ::testing::AssertionSuccess();
    }

    bool IsPlanned(const std::wstring& path) const {
        return std::any_of(plan_.begin(), plan_.end(), [&](const Planned& p) { return p.path == path; });
    }

    std::wstring desktop_;
    std::wstring programs_;
    std::wstring subfolder_;
    std::vector<Planned> plan_;
    std::vector<std::unique_ptr<Immutable>> immutables_;
    ComScope com;
};

// Chooses F:\VekPro through the drive and folder lists, or by the scan.
void Choose(RunningProgram& program, bool byScan) {
    program.Click(ControlId::Platform1);
    ASSERT_TRUE(program.WaitUntil([&] { return program.Checked(ControlId::Platform1); }));
    program.Click(ControlId::Icona);
    ASSERT_TRUE(program.WaitUntil([&] { return program.Checked(ControlId::Icona); }));
    const auto showsVekPro = [&] {
        const int selected = program.ListIndex(ControlId::Dir1);
        return selected == 1 && program.ListText(ControlId::Dir1, 0) == L"F:\\" &&
               program.ListText(ControlId::Dir1, 1).ends_with(L"VekPro");
    };
    if (byScan) {
        program.Click(ControlId::Search);
    } else {
        ASSERT_TRUE(program.MoveToServerFolder(L'f', L"VekPro"));
    }
    ASSERT_TRUE(program.WaitUntil(showsVekPro, 20s)) << "F:\\VekPro was not chosen";
}

std::optional<MessageBoxSeen> Create(RunningProgram& program) { return program.ClickAndReadMessage(ControlId::Intro); }

// The system's words for a Win32 error, without the line end.
std::wstring SystemText(DWORD error) {
    wchar_t text[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, 512, nullptr);
    std::wstring words(text, length);
    while (!words.empty() && iswspace(words.back())) words.pop_back();
    return words;
}

TEST_P(DiskFaultsTest, TheCommandStopsAtTheFailingShortcutAndTheWindowStaysUsable) {
    const Fault& fault = GetParam();
    RunningProgram program;
    ASSERT_NE(program.Window(), nullptr);
    Choose(program, fault.chooseByScan);
    if (HasFatalFailure()) return;
    const std::string cannot = Arrange(fault.kind);
    if (!cannot.empty()) FAIL() << "the fault cannot be made on this machine: " << cannot;
    const Snapshot before = Links();

    // The failing command.
    const auto report = Create(program);
    ASSERT_TRUE(report.has_value()) << "no report";
    std::printf("%s: %s | %s\n", fault.name, Narrow(report->title).c_str(), Narrow(report->text).c_str());
    if (fault.failing) {
        const ReportedError& error = fault.error;
        EXPECT_TRUE(IsErrorReport(report, plan_[*fault.failing].report, error.number, SystemText(error.systemError)));
    } else {
        EXPECT_EQ(report->title, L"NO S'HA TROBAT");
        EXPECT_EQ(report->text, std::wstring(kWorkedExampleEdition) + L"\r\n\r\nF:\\VekPro\\VEKBIN.BAT");
        EXPECT_TRUE(report->errorIcon);
    }
    EXPECT_FALSE(SettingsKeyExists()) << "settings were saved";

    // What was there is there, byte for byte; the shortcuts before the failing
    // one were added, and nothing else.
    const Snapshot after = Links();
    for (const auto& [path, bytes] : before) {
        const auto now = after.find(path);
        EXPECT_TRUE(now != after.end() && now->second == bytes) << Narrow(path) << " changed or went";
    }
    std::set<std::wstring> added;
    for (const auto& [path, bytes] : after) {
        if (!before.contains(path)) added.insert(path);
    }
    std::set<std::wstring> expectedAdded;
    for (std::size_t i = 0; i < fault.failing.value_or(0); ++i) expectedAdded.insert(plan_[i].path);
    EXPECT_EQ(added, expectedAdded);
    for (const Planned& planned : plan_) {
        if (added.contains(planned.path)) {
            EXPECT_EQ(ReadLink(planned.path).target, planned.target) << Narrow(planned.path);
        }
    }
    EXPECT_TRUE(AllLoad());
    for (const std::wstring& folder : {programs_, desktop_}) {
        EXPECT_EQ(TemporaryFilesUnder(folder), std::vector<std::wstring>{}) << "a temporary file stayed";
    }

    // Mended, the same window completes the command.
    Mend(fault.kind);
    const auto second = Create(program);
    ASSERT_TRUE(second.has_value()) << "no report after mending";
    EXPECT_EQ(second->title, L"ZORIZA");
    EXPECT_EQ(second->text, kWorkedExampleReport);
    EXPECT_FALSE(second->errorIcon);
    for (const Planned& planned : plan_) {
        ASSERT_TRUE(FileExists(planned.path)) << Narrow(planned.path);
        EXPECT_EQ(ReadLink(planned.path).target, planned.target) << Narrow(planned.path);
    }
    const Snapshot mended = Links();
    for (const auto& [path, bytes] : before) {
        if (IsPlanned(path)) continue;
        const auto now = mended.find(path);
        EXPECT_TRUE(now != mended.end() && now->second == bytes) << Narrow(path) << " changed or went";
    }
    EXPECT_TRUE(AllLoad());
    EXPECT_TRUE(SettingsKeyExists());
    program.PressKey(ControlId::Intro, VK_ESCAPE);
    EXPECT_TRUE(program.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(Faults, DiskFaultsTest, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<Fault>& fault) { return std::string(fault.param.name); });

}  // namespace
}  // namespace zoriza::e2e
