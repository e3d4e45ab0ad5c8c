// The program's start: prepares the process, creates Form1 on the native
// window, raises its load event, shows it and runs the event loop until the
// window is gone. Started with switches, it works without a window instead.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <optional>

#include "app/native_form.h"
#include "app/unattended_main.h"
#include "app/win32_services.h"
#include "main_window/layout.h"
#include "main_window/main_window.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/unique_handle.h"
#include "unattended/unattended.h"

namespace {

using namespace zoriza;

// COM, apartment-threaded, on the window's thread for the life of the
// program; the threads that carry server requests join COM on their own.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

void PrepareProcess() {
    // Probing an empty removable drive must never show a system dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // Should the search not narrow at all, the program still runs: the
    // libraries it loads itself are still taken from the system folder.
    NarrowLibrarySearch(SystemLibrarySearch());
}

// The common controls serve the window alone: they are loaded when the window
// is made, so that a run without a window does not pay for them. The
// manifest's activation context makes them the themed version 6. Should they
// not load, the window's controls come from the same context all the same.
UniqueModule LoadCommonControls() {
    using Initialise = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    UniqueModule library = LoadSystemLibrary(L"comctl32.dll");
    const auto initialise = LookUp<Initialise>(library.get(), "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    if (initialise != nullptr) initialise(&controls);
    return library;
}

// The event a user's action on a control raises; the other controls keep
// what they do to themselves.
std::optional<FormEvent> EventOf(ControlId id) {
    switch (id) {
        case ControlId::Lang: return FormEvent::LangClick;
        case ControlId::Drive1: return FormEvent::DriveChange;
        case ControlId::Search: return FormEvent::SearchClick;
        case ControlId::Intro: return FormEvent::IntroClick;
        case ControlId::None:
        case ControlId::Frame3:
        case ControlId::Icona:
        case ControlId::Frame2:
        case ControlId::Platform2:
        case ControlId::Platform1:
        case ControlId::Platform0:
        case ControlId::Frame1:
        case ControlId::Dir1:
        case ControlId::App: break;
    }
    return std::nullopt;
}

// The user's input kept while a server request was waited for comes first.
bool NextMessage(ServerRequests& requests, MSG& message) {
    return requests.TakeKeptInput(message) || GetMessageW(&message, nullptr, 0, 0) > 0;
}

int RunEventLoop(NativeForm& window, ServerRequests& requests) {
    MSG message{};
    while (NextMessage(requests, message)) {
        if (window.PreTranslate(message)) continue;
        if (IsWindow(window.Handle()) && IsDialogMessageW(window.Handle(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

// The window, from its creation to the end of the event loop.
int RunWindow(HINSTANCE instance, int showCommand) {
    Win32Services services;
    NativeForm window(instance, services.requests);
    Form1 form(FormControls{window.Form(), window.Lang(), window.App(), window.Caption(ControlId::Frame1),
                            window.Caption(ControlId::Search), window.Drive1(), window.Dir1(),
                            window.Caption(ControlId::Frame2), window.Platform(),
                            window.Caption(ControlId::Frame3), window.Icona(), window.Caption(ControlId::Intro)},
               services.Form());
    window.OnUserAction([&form](ControlId id) {
        if (const std::optional<FormEvent> event = EventOf(id)) form.Dispatch(*event);
    });
    window.OnKeyPreview([&form](std::int16_t& key) { form.Form_KeyPress(key); });
    window.OnError([&form](const AppError& error) { form.ReportError(error); });

    // An error that start-up cannot pass over ends the program before the
    // window is shown.
    if (!form.Dispatch(FormEvent::Load)) return 1;
    window.Show(showCommand);
    return RunEventLoop(window, services.requests);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    PrepareProcess();
    const ComApartment com;
    // With switches: a logon script, Group Policy or a device manager runs it.
    const CommandLine command = ParseCommandLine(ProgramArguments());
    if (command.Unattended()) return RunUnattended(command);
    const UniqueModule commonControls = LoadCommonControls();
    try {
        return RunWindow(instance, showCommand);
    } catch (const AppError& error) {
        // The window itself could not be made: there is no form to report it.
        MessageBoxW(nullptr, ErrorReportText(error).c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
        return 1;
    }
}
