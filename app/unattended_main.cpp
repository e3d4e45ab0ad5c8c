// The unattended mode on Windows: the real file system, registry, Shell and
// drives under the headless form, and the lines to the standard output and
// the log file.
#include "app/unattended_main.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "app/unattended_output.h"
#include "app/win32_services.h"
#include "platform/base/text.h"
#include "platform/win32/administrator.h"
#include "platform/win32/current_folder.h"
#include "platform/win32/folder_owner.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_drives.h"
#include "unattended/run_report.h"

namespace zoriza {

namespace {

int PrintUsage(OutputLines& out) {
    for (const wchar_t* line : UsageLines()) out.Line(line);
    return kExitDone;
}

int RefuseUsage(OutputLines& out, const std::wstring& why) {
    out.Line(Joined({L"usage error: ", why}));
    return Finish(out, EndOf(EarlyEnd::UsageRefused));
}

int RunOnWindows(const CommandLine& command, OutputLines& out) {
    const UnattendedOptions& options = command.options;
    Win32Services services(options.allUsers ? FolderOwner::AllUsers : FolderOwner::CurrentUser);
    return RunCommand(command.mode, services.Form(), {LogicalDriveEntries(), CurrentFolder()}, options, out);
}

// Every user's folders take an administrator's writes; the check only reads.
bool NeedsAdministrator(const CommandLine& command) {
    return command.options.allUsers && command.mode != RunMode::Check;
}

// Refuses a usage error, and /allusers without administrator rights.
int RunIfAllowed(const CommandLine& command, OutputLines& out) {
    if (!command.usageError.empty()) return RefuseUsage(out, command.usageError);
    if (NeedsAdministrator(command) && !RunsAsAdministrator()) {
        out.Line(L"error: /allusers writes every user's Desktop and Start menu, which needs administrator rights: "
                 L"run it elevated, or as SYSTEM from a deployment tool");
        return Finish(out, EndOf(EarlyEnd::NotAdministrator));
    }
    return RunOnWindows(command, out);
}

const wchar_t* CommandName(RunMode mode) {
    switch (mode) {
        case RunMode::Create: return L"create";
        case RunMode::Check: return L"check";
        case RunMode::Remove: return L"remove";
        case RunMode::Window:  // no command given: the log holds the usage error
        case RunMode::Help: return L"usage";
    }
    ThrowInternalError();
}

// The log the switches ask for, or none. One that cannot be opened (a share
// that is down, a missing folder) is said on the output, and the run goes on
// without it: the command's own outcome is what a deployment waits for.
std::unique_ptr<LogFile> OpenLog(const CommandLine& command, OutputLines& out) {
    if (!command.options.logFile) return nullptr;
    const bool ofItsOwn = command.options.logFile->empty();
    std::wstring path = *command.options.logFile;
    try {
        if (ofItsOwn) path = OwnLogPath(CommandName(command.mode), command.options.allUsers || RunsAsSystem());
        auto log = std::make_unique<LogFile>(path, ofItsOwn ? LogOpening::New : LogOpening::Append);
        if (ofItsOwn) out.Line(Joined({L"log: ", path}));
        return log;
    } catch (const AppError& error) {
        out.Line(Joined({L"log not opened: ", path.empty() ? L"its folder" : path, L": ", ErrorText(error)}));
        return nullptr;
    }
}

int RunAndLog(const CommandLine& command, StandardOutput& console) {
    if (command.mode == RunMode::Help) return PrintUsage(console);
    const std::unique_ptr<LogFile> log = OpenLog(command, console);
    if (!log) return RunIfAllowed(command, console);
    BothOutputs both(console, *log);
    return RunIfAllowed(command, both);
}

}  // namespace

std::vector<std::wstring> ProgramArguments() {
    int count = 0;
    const UniqueArgumentList list(CommandLineToArgvW(GetCommandLineW(), &count));
    if (!list) return {};
    return std::vector<std::wstring>(list.get() + (count > 0 ? 1 : 0), list.get() + count);
}

// What escapes before or beside a command's own guard (the start, the log,
// /check) ends the run the same way, on the console alone.
int RunUnattended(const CommandLine& command) {
    StandardOutput console;
    return Guarded(console, [&] { return RunAndLog(command, console); });
}

}  // namespace zoriza
