// The demo that scripts/run.sh shows a newcomer: the real ZORIZA.exe (named
// by ZORIZA_EXE) driven through its main job against an application server
// linked as a drive. It chooses the first edition and the desktop shortcut,
// presses EXAMINAR and waits for the scan to choose the edition's folder,
// presses CREAR, then prints the report, every shortcut the command wrote
// (read back from the files) and the settings it saved. Exits with 1 when a
// step does not come out as it does for a user whose server is there.
//
//   zoriza_demo [--pause-after-scan FOLDER]
//       With FOLDER: once the scan has chosen the folder, writes
//       FOLDER\scanned and waits for FOLDER\continue (run.sh takes its
//       picture of the window in between).
//   zoriza_demo --show
//       Prints the shortcuts and settings as they are, after a user's run.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_support.h"
#include "tools/demo/demo_output.h"

namespace zoriza::demo {

namespace {

using namespace std::chrono_literals;
using e2e::RunningProgram;

// The edition code is the edition's entry up to its first blank: "VekPro".
std::wstring EditionCode(const RunningProgram& program) {
    const std::wstring entry = program.ListText(ControlId::App, program.ListIndex(ControlId::App));
    return entry.substr(0, entry.find(L' '));
}

// The folder the folder list has selected, as a full path ("F:\VekPro"):
// its root, then one indented entry per level down to the selected one.
std::wstring SelectedFolder(const RunningProgram& program) {
    const int selected = program.ListIndex(ControlId::Dir1);
    if (selected < 0) return {};
    std::wstring path = program.ListText(ControlId::Dir1, 0);
    for (int i = 1; i <= selected; ++i) {
        const std::wstring entry = program.ListText(ControlId::Dir1, i);
        if (path.back() != L'\\') path += L'\\';
        path += entry.substr(std::min(entry.find_first_not_of(L' '), entry.size()));
    }
    return path;
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool Fail(const std::wstring& what) {
    PrintLine(L"demo stopped: " + what);
    return false;
}

void SetChecked(RunningProgram& program, ControlId id) {
    if (!program.Checked(id)) program.Click(id);
    program.WaitUntil([&] { return program.Checked(id); });
}

// Tells run.sh that the scan is done and waits until it has taken its picture.
void PauseAfterScan(const std::wstring& folder) {
    const std::wstring scanned = folder + L"\\scanned";
    const std::wstring resume = folder + L"\\continue";
    DeleteFileW(resume.c_str());
    e2e::WriteFile(scanned);
    for (int waited = 0; waited < 600 && !e2e::FileExists(resume); ++waited) std::this_thread::sleep_for(100ms);
    DeleteFileW(scanned.c_str());
    DeleteFileW(resume.c_str());
}

// EXAMINAR: true once the folder list shows the edition's folder selected.
bool Scan(RunningProgram& program, const std::wstring& edition) {
    PrintLine(L"EXAMINAR: the scan looks on every drive for the " + edition + L" folder and its launcher");
    program.Click(ControlId::Search);
    const auto chosen = [&] { return EndsWith(SelectedFolder(program), L":\\" + edition); };
    std::optional<e2e::MessageBoxSeen> box;
    program.WaitUntil([&] { return chosen() || (box = program.WaitForMessageBox(0ms)).has_value(); }, 30s);
    if (box) {
        PrintIndented(box->title + L"\r\n" + box->text, L"  ");
        program.CloseMessageBox();
        return Fail(L"the scan found no " + edition + L" folder with its launcher");
    }
    if (!chosen()) return Fail(L"the scan did not choose a folder within 30 s");
    PrintLine(L"  the scan chose " + SelectedFolder(program));
    return true;
}

// CREAR: true when the report is the success report.
bool Create(RunningProgram& program) {
    PrintLine(L"CREAR: the report says");
    program.Click(ControlId::Intro);
    const auto box = program.WaitForMessageBox(30s);
    if (!box) return Fail(L"no report within 30 s");
    PrintIndented(box->title + L": " + box->text, L"  ");
    program.CloseMessageBox();
    if (box->errorIcon) return Fail(L"the create command reported an error");
    return true;
}

// Prints the shortcuts; true when there are `expected` and each points into `folder`.
bool PrintLinks(const std::vector<std::wstring>& links, std::size_t expected, const std::wstring& folder) {
    bool intoFolder = true;
    for (const std::wstring& link : links) intoFolder = PrintLink(link).starts_with(folder + L"\\") && intoFolder;
    if (links.size() != expected) {
        return Fail(std::to_wstring(links.size()) + L" shortcuts written, " + std::to_wstring(expected) +
                    L" expected");
    }
    return intoFolder || Fail(L"a shortcut does not point into " + folder);
}

bool DriveTheMainJob(const std::wstring& pauseFolder) {
    e2e::ComScope com;
    RunningProgram program;
    if (program.Window() == nullptr) return Fail(L"ZORIZA's window did not open");
    PrintLine(L"ZORIZA is open: " + program.Caption());
    program.SelectListEntry(ControlId::App, 0);
    SetChecked(program, ControlId::Icona);
    const std::wstring edition = EditionCode(program);
    if (!Scan(program, edition)) return false;
    const std::wstring folder = SelectedFolder(program);
    if (!pauseFolder.empty()) PauseAfterScan(pauseFolder);

    const LinkTimes before = UserLinks();
    if (!Create(program)) return false;
    PrintLine(L"Shortcuts written (read back from the files):");
    // The edition's shortcut on the Desktop and in Programs\<edition>, and six tools.
    constexpr std::size_t kShortcuts = 8;
    const bool linksRight = PrintLinks(WrittenSince(before, UserLinks()), kShortcuts, folder);
    const bool allSaved = PrintSettings() == static_cast<int>(e2e::kSettingNames.size()) ||
                          Fail(L"not every setting was saved");
    program.PressKey(ControlId::Lang, VK_ESCAPE);
    if (!program.WaitForExit(10s)) return Fail(L"Esc did not close ZORIZA");
    return linksRight && allSaved;
}

void ShowWhatIsThere() {
    e2e::ComScope com;
    const LinkTimes links = UserLinks();
    PrintLine(L"Shortcuts on the Desktop and in the Start menu (read back from the files):");
    if (links.empty()) PrintLine(L"  none");
    for (const auto& [path, time] : links) PrintLink(path);
    PrintSettings();
}

int Run(const std::vector<std::wstring>& arguments) {
    PrepareOutput();
    if (arguments == std::vector<std::wstring>{L"--show"}) {
        ShowWhatIsThere();
        return 0;
    }
    std::wstring pauseFolder;
    if (arguments.size() == 2 && arguments[0] == L"--pause-after-scan") {
        pauseFolder = arguments[1];
        std::replace(pauseFolder.begin(), pauseFolder.end(), L'/', L'\\');
    } else if (!arguments.empty()) {
        PrintLine(L"usage: zoriza_demo [--pause-after-scan FOLDER] | --show");
        return 2;
    }
    try {
        return DriveTheMainJob(pauseFolder) ? 0 : 1;
    } catch (const std::exception& error) {
        Fail(std::wstring(error.what(), error.what() + std::strlen(error.what())));
        return 1;
    }
}

}  // namespace

}  // namespace zoriza::demo

int wmain(int argc, wchar_t** argv) { return zoriza::demo::Run(std::vector<std::wstring>(argv + 1, argv + argc)); }
