// MakeShortcut over the memory shell with any target, name and icon: it never
// crashes, and a shortcut it saves has the working folder and icon location
// its rules give.
#include <cstdlib>

#include "platform/base/error.h"
#include "tests/memory_platform/memory_shell_links.h"
#include "shortcuts/shortcuts.h"
#include "tests/fuzz/fuzz_input.h"

using namespace zoriza;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    MemoryFileSystem files;
    files.AddDrive(L"C:");
    files.AddFolder(L"C:\\Desktop");
    files.AddFolder(L"C:\\Programs");
    MemoryShellLinks shell(files, L"C:\\Desktop", L"C:\\Programs");
    MaximizeWindow = static_cast<std::int16_t>(input.Int16());
    const std::wstring location = input.Text(12);
    const std::wstring target = input.Text(64);
    const std::wstring name = input.Text(64);
    const std::wstring icon = input.Rest();
    try {
        MakeShortcut(shell, files, location, target, name, icon, L"", L"");
    } catch (const AppError&) {
        return 0;  // a name the file system refuses
    }
    if (shell.Saved().size() != 1) std::abort();
    const SavedShortcut& saved = shell.Saved().begin()->second;
    if (saved.workingDirectory != WorkingFolderOf(target)) std::abort();
    if (saved.iconLocation != saved.workingDirectory + L"\\" + icon) std::abort();
    if (saved.windowStyle != (MaximizeWindow != 0 ? 3 : 1) || saved.fieldsSet != 7) std::abort();
    return 0;
}
